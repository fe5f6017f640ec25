#include "leveling/order_contradicted.h"

namespace levara::leveling {

OrderContradicted::OrderContradicted(LineNumber line, Message problem)
    : InputError(line, problem), problem_(std::make_shared<const Message>(std::move(problem))),
      fitting_(std::make_shared<const std::optional<std::vector<ObservationOrder>>>())
{
}

OrderContradicted::OrderContradicted(const OrderContradicted& fault, Message problem,
                                     std::vector<ObservationOrder> fitting)
    : OrderContradicted(fault.line(), std::move(problem))
{
    fitting_ = std::make_shared<const std::optional<std::vector<ObservationOrder>>>(std::move(fitting));
}

OrderContradicted::OrderContradicted(const OrderContradicted& fault, const std::filesystem::path& file,
                                     LineNumber fileLine)
    : InputError(fault, file, fileLine), problem_(fault.problem_), fitting_(fault.fitting_)
{
}

}  // namespace levara::leveling
