#include <gtest/gtest.h>

#include "books/pipeline/xls/xls.h"

TEST(Smoke, CreatesAndReads)
{
    auto book = levara::xls::Workbook::create({"Sheet1"});
    book.sheet(0).setNumber(1, 1, 2.5);
    EXPECT_EQ(std::get<double>(book.sheet(0).value(1, 1)), 2.5);
}
