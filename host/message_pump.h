// The non-blocking message pump: every waiting window message dispatched to its procedure.
#pragma once

#include <cstdint>

// Dispatches every waiting message. 1 when the queue is empty, 0 when the quit message came.
int32_t pumpMessages();
