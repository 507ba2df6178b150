#include "platform/win32/JobObject.h"

namespace platform::win32 {

OwnedHandle jobHolding(HANDLE process) {
    OwnedHandle job(CreateJobObjectA(nullptr, nullptr));
    if (job && !AssignProcessToJobObject(job.get(), process)) job.reset();
    return job;
}

} // namespace platform::win32
