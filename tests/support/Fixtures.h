#pragma once
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

// Reads a file below tests/fixtures as bytes.
inline std::string ReadFixture(const std::string& relative)
{
    const std::string path = std::string(PELORIN_FIXTURE_DIR) + "/" + relative;
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open fixture " + path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
