#include "commands/exchange_formats.h"

#include <algorithm>

namespace levara {

const ExchangeFormatInfo& exchangeFormat(leveling::ExchangeFormat format)
{
    return *std::find_if(kExchangeFormats.begin(), kExchangeFormats.end(),
                         [&](const ExchangeFormatInfo& info) { return info.format == format; });
}

}  // namespace levara
