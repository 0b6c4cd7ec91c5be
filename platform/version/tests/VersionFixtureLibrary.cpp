// A shared library that only carries a version record, for the version reader's tests.
extern "C" int version_fixture_answer() {
    return 42;
}
