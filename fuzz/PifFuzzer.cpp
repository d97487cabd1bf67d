// A program-information file as the restore reads it: any bytes give an answer, none a crash.
#include "fuzz/FuzzSupport.h"
#include "platform/shell/Pif.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    (void)platform::pifAsksForMsDosMode(fuzz::bytesOf(data, size));
    return 0;
}
