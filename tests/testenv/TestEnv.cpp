// Linked into every test binary: points the tests at the build's bin folder (executables and data
// files) and at the source tree, unless the caller's environment already says otherwise. Running a
// test binary by hand then behaves like running it under ctest.
#include <cstdlib>

namespace {

struct TestEnv {
    TestEnv() {
        setenv("OSTREL_DATA_DIR", OSTREL_TEST_BIN_DIR, 0);
        setenv("OSTREL_BIN_DIR", OSTREL_TEST_BIN_DIR, 0);
        setenv("OSTREL_SOURCE_DIR", OSTREL_TEST_SOURCE_DIR, 0);
    }
};

const TestEnv testEnv;

} // namespace
