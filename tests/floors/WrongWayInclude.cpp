// Compiled against one area library only, with OSTREL_PROBE_HEADER naming a header of an area above
// it: the build must not find that header (see CMakeLists.txt beside this file).
#include OSTREL_PROBE_HEADER
