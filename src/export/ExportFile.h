#pragma once
// ExportFile: the output file of the export writers. Text goes through one
// large buffer and reaches the file in big blocks; numbers are formatted
// straight into the buffer with std::to_chars, which for "%.9g" gives the
// same characters as printf at a fraction of the cost. Any failure to write
// (disk full, I/O error) is remembered and reported by Close.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace kov {

class ExportFile {
public:
    ExportFile();
    ~ExportFile();
    ExportFile(const ExportFile&) = delete;
    ExportFile& operator=(const ExportFile&) = delete;

    // Creates (or truncates) the file for writing in binary mode; false when
    // it cannot be created.
    bool Create(const std::string& path);

    void Put(std::string_view text);
    void Put(char c) {
        if (used_ == buffer_.size()) Flush();
        buffer_[used_++] = c;
    }
    // printf "%.9g".
    void PutReal(double value);
    // The shortest text that reads back as exactly the same double.
    void PutExactReal(double value);
    void PutInteger(long long value);

    // Writes what is buffered and closes the file; false when any write
    // failed or the file could not be closed cleanly.
    bool Close();

private:
    void Flush();
    char* Room(std::size_t bytes);

    std::FILE* file_ = nullptr;
    std::vector<char> buffer_;
    std::size_t used_ = 0;
    bool failed_ = false;
};

// printf "%.9g" of a value, as a string (the writers' header lines).
std::string FormatReal(double value);

}  // namespace kov
