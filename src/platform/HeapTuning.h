#pragma once

// Keeps memory the program frees for its next allocations instead of handing it back to the
// system at once. The server makes and drops a socket object, a request and a file buffer for
// every request; with the C library's defaults each drop can shrink the heap and the next
// request grows it again, two system calls and fresh page faults per request. Call at start-up,
// before the first allocation worth keeping.
void KeepFreedHeap();
