#include "simulator/StatusDescriptions.h"

#include "simulator/VisaStatus.h"

#include <algorithm>
#include <iterator>

namespace stratigon::sim {
namespace {

struct Description {
    ViStatus status;
    std::string_view text;
};

constexpr Description kDescriptions[] = {
    {VI_SUCCESS, "Operation completed successfully."},
    {VI_SUCCESS_EVENT_DIS, "The specified event is already disabled for at least one of the specified "
                           "mechanisms."},
    {VI_SUCCESS_QUEUE_EMPTY, "The operation completed successfully, but the queue was already empty."},
    {VI_SUCCESS_TERM_CHAR, "The termination character was read."},
    {VI_SUCCESS_MAX_CNT, "The number of bytes read is equal to the input count."},
    {VI_SUCCESS_NESTED_SHARED, "The lock was acquired; the session now holds nested shared locks."},
    {VI_SUCCESS_NESTED_EXCLUSIVE, "The lock was acquired; the session now holds nested exclusive locks."},
    {VI_WARN_UNKNOWN_STATUS, "The status code passed to the operation could not be interpreted."},
    {VI_ERROR_SYSTEM_ERROR, "Unknown system error (miscellaneous error)."},
    {VI_ERROR_INV_OBJECT, "The given session or object reference is invalid."},
    {VI_ERROR_RSRC_LOCKED, "The lock cannot be obtained, or the operation cannot be performed, because "
                           "the resource is locked."},
    {VI_ERROR_INV_EXPR, "Invalid expression given for the resource search."},
    {VI_ERROR_RSRC_NFOUND, "Insufficient location information or the requested device or resource is not "
                           "present in the system."},
    {VI_ERROR_INV_RSRC_NAME, "Invalid resource reference: the name cannot be parsed."},
    {VI_ERROR_INV_ACC_MODE, "Invalid access mode."},
    {VI_ERROR_TMO, "Timeout expired before operation completed."},
    {VI_ERROR_NSUP_ATTR, "The attribute is not defined or not supported by the session."},
    {VI_ERROR_NSUP_ATTR_STATE, "The state given for the attribute is not valid or not supported by the "
                               "session."},
    {VI_ERROR_ATTR_READONLY, "The attribute is read-only."},
    {VI_ERROR_INV_LOCK_TYPE, "The requested type of lock is not supported by this resource."},
    {VI_ERROR_INV_ACCESS_KEY, "The access key to the resource associated with this session is invalid."},
    {VI_ERROR_INV_EVENT, "The event type is not valid or not supported by the session."},
    {VI_ERROR_INV_MECH, "The event handling mechanism is not valid."},
    {VI_ERROR_INV_MASK, "The mask does not name a valid flush operation."},
    {VI_ERROR_ALLOC, "Insufficient system resources to perform necessary memory allocation."},
    {VI_ERROR_IO, "Could not perform operation because of I/O error."},
    {VI_ERROR_USER_BUF, "A user buffer is not valid or cannot be accessed for the required size."},
    {VI_ERROR_SESN_NLOCKED, "The current session did not have any lock on the resource."},
    {VI_ERROR_LIBRARY_NFOUND, "A code library required by VISA could not be located or loaded."},
    {VI_ERROR_CONN_LOST, "The connection for the given session has been lost."},
};

}  // namespace

std::optional<std::string_view> StatusDescriptions::Find(ViStatus status)
{
    const auto found = std::find_if(std::begin(kDescriptions), std::end(kDescriptions),
                                    [status](const Description& row) { return row.status == status; });
    if (found == std::end(kDescriptions)) {
        return std::nullopt;
    }
    return found->text;
}

}  // namespace stratigon::sim
