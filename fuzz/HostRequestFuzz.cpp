// Fuzzes the server's request rules and response building with arbitrary
// received bytes (at most one receive of 4095 bytes, NUL-terminated).
#include <pthread.h>

#include <cstdint>
#include <cstring>

#include "host/Torvane.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool ready = [] {
        pthread_mutex_init(&Torvane_Log::s_Mutex, nullptr);
        Torvane_Log::s_FilePathName = "/dev/null";
        Torvane_Message("fuzz <b>entry</b>\nsecond line");
        return true;
    }();
    (void)ready;
    char request[4096] = {0};
    int n = size > 4095 ? 4095 : (int)size;
    memcpy(request, data, n);
    zozud::cStr response;
    bool answered = Torvane_BuildResponse(request, n, &response);
    if (answered && strncmp(response.ToChar(), "HTTP/1.1 200 OK\r\n", 17) != 0) __builtin_trap();
    if (!answered && n >= 3 && memcmp(request, "GET", 3) == 0 && memmem(request, n, "/log", 4)) __builtin_trap();
    return 0;
}
