#include "extras/zip_writer.h"

#include <string>
#include <vector>

#include "common/path_names.h"
#include "common/scoped_handle.h"

namespace {

constexpr std::uint32_t kLocalHeaderSignature = 0x04034B50;
constexpr std::uint32_t kCentralHeaderSignature = 0x02014B50;
constexpr std::uint32_t kEndSignature = 0x06054B50;
constexpr int kCentralHeaderSize = 46;
constexpr int kEndRecordSize = 22;
constexpr int kLocalCrcOffset = 14;
constexpr std::uint16_t kVersionStored = 10;     // 1.0: stored entries need nothing newer
constexpr std::uint16_t kVersionMadeBy = 20;     // 2.0 on an MS-DOS (FAT) host
constexpr std::uint16_t kUtf8NameFlag = 0x0800;  // the name is UTF-8, not code page 437
constexpr std::uint16_t kMostEntries = 0xFFFE;   // 0xFFFF announces 64-bit records
constexpr std::uint64_t kMostBytes = 0xFFFFFFFE;
// An archive of the program holds a handful of entries; a larger directory is not ours.
constexpr std::uint32_t kMostDirectoryBytes = 16 * 1024 * 1024;
constexpr DWORD kCopyChunk = 64 * 1024;

std::uint32_t ReadLe(const std::uint8_t* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

bool WriteAll(HANDLE file, const void* data, std::size_t size) {
    DWORD written = 0;
    return size <= MAXDWORD && WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

// A header: its fixed fields, little-endian, then the entry's name.
class Record {
  public:
    Record& U16(std::uint32_t value) { return Put(value, 2); }
    Record& U32(std::uint32_t value) { return Put(value, 4); }
    Record& Name(const std::string& name) {
        name_ = name;
        return *this;
    }
    std::size_t Size() const { return used_ + name_.size(); }
    bool WriteTo(HANDLE file) const {
        return WriteAll(file, fields_, used_) && WriteAll(file, name_.data(), name_.size());
    }

  private:
    Record& Put(std::uint32_t value, int count) {
        for (int i = 0; i < count && used_ < sizeof(fields_); ++i) {
            fields_[used_++] = static_cast<std::uint8_t>(value >> (8 * i));
        }
        return *this;
    }
    std::uint8_t fields_[kCentralHeaderSize] = {};
    std::size_t used_ = 0;
    std::string name_;
};

bool ReadAll(HANDLE file, void* data, DWORD size) {
    DWORD read = 0;
    return ReadFile(file, data, size, &read, nullptr) && read == size;
}

bool SeekTo(HANDLE file, std::uint64_t offset) {
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(file, to, nullptr, FILE_BEGIN) != 0;
}

ScopedKernelHandle OpenExisting(const wchar_t* path, DWORD access, DWORD share) {
    HANDLE file = CreateFileW(path, access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    // cppcheck-suppress resourceLeak ; the returned guard owns the handle
    return ScopedKernelHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

std::uint64_t FileSize(HANDLE file) {
    LARGE_INTEGER size = {};
    return GetFileSizeEx(file, &size) ? static_cast<std::uint64_t>(size.QuadPart) : ~std::uint64_t{0};
}

// What an archive ends with, and everything before it that a new entry must not disturb.
struct ArchiveEnd {
    std::uint32_t entries = 0;
    std::uint32_t directoryOffset = 0;
    std::vector<std::uint8_t> directory;
    std::uint8_t endRecord[kEndRecordSize] = {};
};

bool ReadArchiveEnd(HANDLE archive, ArchiveEnd& end) {
    std::uint64_t size = FileSize(archive);
    if (size < kEndRecordSize || size > kMostBytes || !SeekTo(archive, size - kEndRecordSize) ||
        !ReadAll(archive, end.endRecord, kEndRecordSize)) {
        return false;
    }
    const std::uint8_t* record = end.endRecord;
    std::uint32_t entries = ReadLe(record + 10, 2);
    std::uint32_t directorySize = ReadLe(record + 12, 4);
    end.entries = entries;
    end.directoryOffset = ReadLe(record + 16, 4);
    bool plain = ReadLe(record, 4) == kEndSignature && ReadLe(record + 4, 2) == 0 && ReadLe(record + 6, 2) == 0 &&
                 ReadLe(record + 8, 2) == entries && entries <= kMostEntries && ReadLe(record + 20, 2) == 0 &&
                 directorySize <= kMostDirectoryBytes &&
                 std::uint64_t{end.directoryOffset} + directorySize == size - kEndRecordSize;
    if (!plain) {
        return false;
    }
    end.directory.resize(directorySize);
    return SeekTo(archive, end.directoryOffset) && ReadAll(archive, end.directory.data(), directorySize);
}

enum class Lookup { kAbsent, kFound, kBroken };

// Looks for the entry `name` in a directory that must be whole up to it (to its end when the
// name is absent); `record` then points at the entry's central header.
Lookup FindEntry(const ArchiveEnd& end, const std::string& name, const std::uint8_t** record) {
    std::size_t at = 0;
    const std::vector<std::uint8_t>& directory = end.directory;
    for (std::uint32_t entry = 0; entry < end.entries; ++entry) {
        if (directory.size() - at < kCentralHeaderSize || ReadLe(&directory[at], 4) != kCentralHeaderSignature) {
            return Lookup::kBroken;
        }
        std::size_t nameLength = ReadLe(&directory[at + 28], 2);
        std::size_t recordSize =
            kCentralHeaderSize + nameLength + ReadLe(&directory[at + 30], 2) + ReadLe(&directory[at + 32], 2);
        if (directory.size() - at < recordSize) {
            return Lookup::kBroken;
        }
        if (name.compare(0, std::string::npos, reinterpret_cast<const char*>(&directory[at + kCentralHeaderSize]),
                         nameLength) == 0) {
            *record = &directory[at];
            return Lookup::kFound;
        }
        at += recordSize;
    }
    return at == directory.size() ? Lookup::kAbsent : Lookup::kBroken;
}

// Whether the directory is whole and names no entry `name` yet.
bool DirectoryTakes(const ArchiveEnd& end, const std::string& name) {
    const std::uint8_t* record = nullptr;
    return FindEntry(end, name, &record) == Lookup::kAbsent;
}

std::string Utf8(const wchar_t* text) {
    return ConvertedText(text, static_cast<int>(wcslen(text)), CP_UTF8);
}

bool IsAscii(const std::string& text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

// The entry's fields that the local and the central header share.
struct Entry {
    std::string name;
    std::uint16_t flags = 0;
    std::uint16_t dosTime = 0;
    std::uint16_t dosDate = 0;
    std::uint32_t crc = 0;
    std::uint32_t size = 0;
    std::uint32_t attributes = 0;
    std::uint32_t offset = 0;
};

Record LocalHeader(const Entry& entry) {
    Record header;
    header.U32(kLocalHeaderSignature).U16(kVersionStored).U16(entry.flags).U16(0);
    header.U16(entry.dosTime).U16(entry.dosDate).U32(entry.crc).U32(entry.size).U32(entry.size);
    header.U16(static_cast<std::uint32_t>(entry.name.size())).U16(0).Name(entry.name);
    return header;
}

Record CentralHeader(const Entry& entry) {
    Record header;
    header.U32(kCentralHeaderSignature).U16(kVersionMadeBy).U16(kVersionStored).U16(entry.flags).U16(0);
    header.U16(entry.dosTime).U16(entry.dosDate).U32(entry.crc).U32(entry.size).U32(entry.size);
    header.U16(static_cast<std::uint32_t>(entry.name.size())).U16(0).U16(0).U16(0).U16(0);
    header.U32(entry.attributes).U32(entry.offset).Name(entry.name);
    return header;
}

void StampFromFile(HANDLE source, Entry& entry) {
    FILETIME written = {};
    FILETIME local = {};
    BY_HANDLE_FILE_INFORMATION info = {};
    if (GetFileTime(source, nullptr, nullptr, &written) && FileTimeToLocalFileTime(&written, &local)) {
        FileTimeToDosDateTime(&local, &entry.dosDate, &entry.dosTime);
    }
    if (GetFileInformationByHandle(source, &info)) {
        entry.attributes = info.dwFileAttributes & 0xFF;  // the MS-DOS attribute bits
    }
}

// Copies the whole source behind the archive's file pointer and takes its CRC on the way.
bool CopyData(HANDLE source, HANDLE archive, Entry& entry) {
    std::vector<std::uint8_t> chunk(kCopyChunk);
    std::uint64_t copied = 0;
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(source, chunk.data(), kCopyChunk, &read, nullptr)) {
            return false;
        }
        if (read == 0) {
            break;
        }
        if (!WriteAll(archive, chunk.data(), read)) {
            return false;
        }
        entry.crc = Crc32(chunk.data(), read, entry.crc);
        copied += read;
    }
    return copied == entry.size;  // a file that changed while it was read is refused
}

bool WriteEntry(HANDLE archive, HANDLE source, const ArchiveEnd& end, Entry& entry) {
    Record local = LocalHeader(entry);
    std::uint64_t dataEnd = std::uint64_t{end.directoryOffset} + local.Size() + entry.size;
    if (!SeekTo(archive, end.directoryOffset) || !local.WriteTo(archive) || !CopyData(source, archive, entry)) {
        return false;
    }
    Record crc;
    crc.U32(entry.crc);
    if (!SeekTo(archive, std::uint64_t{entry.offset} + kLocalCrcOffset) || !crc.WriteTo(archive) ||
        !SeekTo(archive, dataEnd)) {
        return false;
    }
    Record central = CentralHeader(entry);
    std::uint64_t directorySize = end.directory.size() + central.Size();
    if (dataEnd + directorySize + kEndRecordSize > kMostBytes) {
        return false;
    }
    Record tail;
    tail.U32(kEndSignature).U16(0).U16(0).U16(end.entries + 1).U16(end.entries + 1);
    tail.U32(static_cast<std::uint32_t>(directorySize)).U32(static_cast<std::uint32_t>(dataEnd)).U16(0);
    return WriteAll(archive, end.directory.data(), end.directory.size()) && central.WriteTo(archive) &&
           tail.WriteTo(archive) && SetEndOfFile(archive);
}

// Puts the directory and the end record back where they were, dropping what came after.
void RestoreEnd(HANDLE archive, const ArchiveEnd& end) {
    if (SeekTo(archive, end.directoryOffset) && WriteAll(archive, end.directory.data(), end.directory.size()) &&
        WriteAll(archive, end.endRecord, kEndRecordSize)) {
        SetEndOfFile(archive);
    }
}

}  // namespace

std::uint32_t Crc32(const void* data, std::size_t size, std::uint32_t crc) {
    static const auto table = [] {
        struct Table {
            std::uint32_t values[256];
        } built = {};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int bit = 0; bit < 8; ++bit) {
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            built.values[n] = c;
        }
        return built;
    }();
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) {
        crc = table.values[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    }
    return ~crc;
}

bool ArchiveHoldsFile(const wchar_t* archive, const wchar_t* name, const wchar_t* source) {
    ScopedKernelHandle input = OpenExisting(source, GENERIC_READ, FILE_SHARE_READ);
    std::uint64_t size = input ? FileSize(input.Get()) : ~std::uint64_t{0};
    if (size > kMostBytes) {
        return false;
    }
    std::uint32_t crc = 0;
    std::vector<std::uint8_t> chunk(kCopyChunk);
    DWORD read = 0;
    std::uint64_t total = 0;
    while (ReadFile(input.Get(), chunk.data(), kCopyChunk, &read, nullptr) && read > 0) {
        crc = Crc32(chunk.data(), read, crc);
        total += read;
    }
    ScopedKernelHandle zip = OpenExisting(archive, GENERIC_READ, FILE_SHARE_READ);
    ArchiveEnd end;
    const std::uint8_t* record = nullptr;
    return total == size && zip && ReadArchiveEnd(zip.Get(), end) &&
           FindEntry(end, Utf8(name), &record) == Lookup::kFound && ReadLe(record + 16, 4) == crc &&
           ReadLe(record + 24, 4) == size;
}

bool AddStoredFile(const wchar_t* archive, const wchar_t* source, const wchar_t* name) {
    Entry entry;
    entry.name = Utf8(name);
    if (entry.name.empty() || entry.name.size() > 0xFFFF) {
        return false;
    }
    entry.flags = IsAscii(entry.name) ? 0 : kUtf8NameFlag;
    ScopedKernelHandle input = OpenExisting(source, GENERIC_READ, FILE_SHARE_READ);
    std::uint64_t size = input ? FileSize(input.Get()) : ~std::uint64_t{0};
    if (size > kMostBytes) {
        return false;
    }
    entry.size = static_cast<std::uint32_t>(size);
    StampFromFile(input.Get(), entry);
    ScopedKernelHandle output = OpenExisting(archive, GENERIC_READ | GENERIC_WRITE, 0);
    ArchiveEnd end;
    if (!output || !ReadArchiveEnd(output.Get(), end) || !DirectoryTakes(end, entry.name)) {
        return false;
    }
    entry.offset = end.directoryOffset;
    if (!WriteEntry(output.Get(), input.Get(), end, entry)) {
        RestoreEnd(output.Get(), end);
        return false;
    }
    return true;
}
