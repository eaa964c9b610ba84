// The translation unit of the libraries that only precompile the test
// programs' common headers (tests/CMakeLists.txt).
