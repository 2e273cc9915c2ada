# Cross build of the product for 32-bit Windows, the architecture of the host's own process.
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
