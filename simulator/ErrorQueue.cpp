#include "simulator/ErrorQueue.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace stratigon::sim {
namespace {

struct ErrorText {
    ScpiError error;
    std::string_view text;
};

constexpr ErrorText kErrorTexts[] = {
    {ScpiError::None, "No error"},
    {ScpiError::DataTypeError, "Data type error"},
    {ScpiError::ParameterNotAllowed, "Parameter not allowed"},
    {ScpiError::MissingParameter, "Missing parameter"},
    {ScpiError::UndefinedHeader, "Undefined header"},
    {ScpiError::SettingsConflict, "Settings conflict"},
    {ScpiError::DataOutOfRange, "Data out of range"},
    {ScpiError::IllegalParameterValue, "Illegal parameter value"},
    {ScpiError::MassStorageError, "Mass storage error"},
    {ScpiError::QueueOverflow, "Queue overflow"},
};

std::string_view TextOf(ScpiError error)
{
    const auto found = std::find_if(std::begin(kErrorTexts), std::end(kErrorTexts),
                                    [error](const ErrorText& row) { return row.error == error; });
    return found == std::end(kErrorTexts) ? std::string_view("Error") : found->text;
}

}  // namespace

void ErrorQueue::Push(ScpiError error)
{
    if (error == ScpiError::None) {
        return;
    }
    if (entries_.size() >= kCapacity) {
        entries_.back() = ScpiError::QueueOverflow;
        return;
    }
    entries_.push_back(error);
}

std::string ErrorQueue::PopEntry()
{
    ScpiError error = ScpiError::None;
    if (!entries_.empty()) {
        error = entries_.front();
        entries_.pop_front();
    }
    return std::to_string(static_cast<int>(error)) + ",\"" + std::string(TextOf(error)) + "\"";
}

void ErrorQueue::Clear()
{
    entries_.clear();
}

std::size_t ErrorQueue::Size() const
{
    return entries_.size();
}

}  // namespace stratigon::sim
