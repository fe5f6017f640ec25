// Messages and the language they are shown in: placeholders filled once, nested
// messages translated in their turn, and the language the system asks for.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "commands/commands.h"
#include "language/language.h"

namespace levara::testing {
namespace {

QCoreApplication& application()
{
    static int argc = 1;
    static char name[] = "language_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = new QCoreApplication(argc, argv);
    return *app;
}

// "line 12: station 3 of the return book, starting on line 9: the reading "%2x" ..."
Message nestedFailure()
{
    const Message station(QT_TRANSLATE_NOOP("levara", "station %1 of the %2, starting on line %3"), 3,
                          Message(QT_TRANSLATE_NOOP("levara", "return book")), 9);
    const Message problem(QT_TRANSLATE_NOOP("levara", "the reading \"%1\" is not a number"), "%2x");
    return Message(QT_TRANSLATE_NOOP("levara", "line %1: %2"), 12,
                   Message(QT_TRANSLATE_NOOP("levara", "%1: %2"), station, problem));
}

TEST(Messages, FillEachPlaceholderOnceWithDataOrANestedMessage)
{
    EXPECT_EQ(nestedFailure().english(),
              "line 12: station 3 of the return book, starting on line 9: the reading \"%2x\" is not a number");
    EXPECT_EQ(fillPlaceholders("%2 before %1, %1 again, %3 has no value, 100%", {"a%2", "b"}),
              "b before a%2, a%2 again, %3 has no value, 100%");
    EXPECT_EQ(Message("%1: %2", std::filesystem::path("/a/b.dat"), std::size_t(7)).english(), "/a/b.dat: 7");
    const Error error(nestedFailure());
    EXPECT_EQ(error.what(), nestedFailure().english());
    EXPECT_EQ(error.message().source(), nestedFailure().source());
}

TEST(Messages, TranslatedNestedAndFilledOnce)
{
    application();
    setSourceTranslation(translatedSource);
    EXPECT_EQ(translated(nestedFailure()), nestedFailure().english());
    const Translators chinese(Language::Chinese);
    ASSERT_TRUE(chinese.loaded());
    EXPECT_EQ(translated(nestedFailure()), "第 12 行：返测手簿第 3 站（第 9 行起）：读数 \"%2x\" 不是数字");
    EXPECT_EQ(translated(
                  InputError(LineNumber(5), Message(QT_TRANSLATE_NOOP("levara", "the reading is empty"))).message()),
              "第 5 行：读数为空");
}

TEST(Messages, LanguageFollowsTheSystemsChoiceAndIsChineseByDefault)
{
    struct Case {
        LocaleVariables variables;  // LANGUAGE, LC_ALL, LC_MESSAGES, LANG
        Language expected;
    };
    const std::vector<Case> cases = {
        {{"", "", "", ""}, Language::Chinese},
        {{"", "C", "", ""}, Language::Chinese},
        {{"", "C.UTF-8", "", "en_US.UTF-8"}, Language::Chinese},  // LC_ALL wins
        {{"", "", "POSIX", ""}, Language::Chinese},
        {{"", "", "", "zh_CN.UTF-8"}, Language::Chinese},
        {{"", "", "", "en_GB.UTF-8"}, Language::English},
        {{"", "", "en_US.UTF-8", "zh_CN.UTF-8"}, Language::English},
        {{"", "", "", "de_DE.UTF-8"}, Language::Chinese},
        {{"en", "C.UTF-8", "", ""}, Language::English},
        {{"fr:en_US", "", "", "zh_CN.UTF-8"}, Language::English},  // the first language Levara speaks
        {{"zh_TW:en", "", "", "en_US.UTF-8"}, Language::Chinese},
        {{"fr", "", "", "en_US.UTF-8"}, Language::English},
    };
    for (const Case& c : cases)
        EXPECT_EQ(languageFor(c.variables), c.expected) << c.variables.language << " / " << c.variables.lcAll << " / "
                                                        << c.variables.lcMessages << " / " << c.variables.lang;
}

}  // namespace
}  // namespace levara::testing
