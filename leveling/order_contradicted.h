#pragma once
// The fault of a station whose staffs, as the level recorded them ("Rb", "Rf"),
// contradict the order it is read in: read so, back readings would count as fore
// readings. Kept apart from other faults so that a front end can offer the books
// that fit.
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "leveling/observation_order.h"
#include "records/records.h"

namespace levara::leveling {

class OrderContradicted : public InputError {
public:
    // "line <line>: <problem>", as InputError.
    OrderContradicted(LineNumber line, Message problem);
    // The fault told anew (a book's export names the book), with the orders that fit
    // the whole text (ordersFitting), the likelier first.
    OrderContradicted(const OrderContradicted& fault, Message problem, std::vector<ObservationOrder> fitting);
    // The same fault, found at fileLine of the file the text came from.
    OrderContradicted(const OrderContradicted& fault, const std::filesystem::path& file, LineNumber fileLine);

    const Message& problem() const { return *problem_; }
    // The orders that fit, where the reader knew them; none when it did not look.
    const std::optional<std::vector<ObservationOrder>>& fitting() const { return *fitting_; }

private:
    // Shared, so that copying the exception cannot throw.
    std::shared_ptr<const Message> problem_;
    std::shared_ptr<const std::optional<std::vector<ObservationOrder>>> fitting_;
};

}  // namespace levara::leveling
