#include "export/ExportFile.h"

#include <charconv>
#include <cstring>

namespace kov {

namespace {
constexpr std::size_t kBufferSize = std::size_t{1} << 20;
constexpr std::size_t kNumberRoom = 32;  // longest number text: "-2.22507386e-308" and the like
}  // namespace

ExportFile::ExportFile() : buffer_(kBufferSize) {}

ExportFile::~ExportFile() {
    if (file_) std::fclose(file_);
}

bool ExportFile::Create(const std::string& path) {
    if (file_) std::fclose(file_);
    used_ = 0;
    failed_ = false;
    file_ = std::fopen(path.c_str(), "wb");
    if (file_) std::setvbuf(file_, nullptr, _IONBF, 0);  // this class buffers
    return file_ != nullptr;
}

void ExportFile::Flush() {
    if (used_ == 0) return;
    if (!file_ || std::fwrite(buffer_.data(), 1, used_, file_) != used_) failed_ = true;
    used_ = 0;
}

char* ExportFile::Room(std::size_t bytes) {
    if (buffer_.size() - used_ < bytes) Flush();
    return buffer_.data() + used_;
}

void ExportFile::Put(std::string_view text) {
    if (text.size() > buffer_.size()) {
        Flush();
        if (!file_ || std::fwrite(text.data(), 1, text.size(), file_) != text.size())
            failed_ = true;
        return;
    }
    std::memcpy(Room(text.size()), text.data(), text.size());
    used_ += text.size();
}

void ExportFile::PutReal(double value) {
    char* at = Room(kNumberRoom);
    used_ += static_cast<std::size_t>(
        std::to_chars(at, at + kNumberRoom, value, std::chars_format::general, 9).ptr - at);
}

void ExportFile::PutExactReal(double value) {
    char* at = Room(kNumberRoom);
    used_ += static_cast<std::size_t>(std::to_chars(at, at + kNumberRoom, value).ptr - at);
}

void ExportFile::PutInteger(long long value) {
    char* at = Room(kNumberRoom);
    used_ += static_cast<std::size_t>(std::to_chars(at, at + kNumberRoom, value).ptr - at);
}

bool ExportFile::Close() {
    Flush();
    if (!file_) return false;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    return closed && !failed_;
}

std::string FormatReal(double value) {
    char text[kNumberRoom];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 9);
    return std::string(text, end.ptr);
}

}  // namespace kov
