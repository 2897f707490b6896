#pragma once

// The low-level file calls of the module: open, read, write, seek, close and unlink on UTF-16 path names, as
// the C run-time's wide calls take them. Both "\" and "/" separate directories; names are UTF-8 on disk.
// A descriptor opened in text mode writes every LF as CR LF (the return value still counts the caller's
// bytes); reads give the bytes as they are stored. Binary mode writes bytes as they are. Every call is safe
// on any thread; one descriptor is used by one thread at a time.

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Open flags; exactly one of kReadOnly, kWriteOnly, kReadWrite.
inline constexpr uint32_t kReadOnly = 0x0;
inline constexpr uint32_t kWriteOnly = 0x1;
inline constexpr uint32_t kReadWrite = 0x2;
inline constexpr uint32_t kAppend = 0x8;
inline constexpr uint32_t kCreate = 0x100;
inline constexpr uint32_t kTruncate = 0x200;
// With kCreate: fails when the name exists already, even as a dangling link.
inline constexpr uint32_t kExclusive = 0x400;
inline constexpr uint32_t kText = 0x4000;
inline constexpr uint32_t kBinary = 0x8000;
// The file's name is removed as soon as it is open; its contents live until the descriptor is closed, so
// nothing is left behind even when the process dies.
inline constexpr uint32_t kDeleteOnClose = 0x10000;
// Fails when the last component of the name is a symbolic link.
inline constexpr uint32_t kNoFollow = 0x20000;
// A file that kCreate makes can be read and written by its owner alone.
inline constexpr uint32_t kOwnerOnly = 0x40000;

// Permission of a file that kCreate makes (before the process's umask).
inline constexpr uint32_t kPermitRead = 0x100;
inline constexpr uint32_t kPermitWrite = 0x80;

// A new descriptor, or -1 (the reason in lastFileError).
int32_t openFile(std::u16string_view path, uint32_t flags, uint32_t permission);
// Up to count bytes; the number read, 0 at the end of the file, -1 on error.
int64_t readFile(int32_t fd, void* buffer, uint64_t count);
// All count bytes unless the system refuses; the number of the caller's bytes written, -1 on error.
int64_t writeFile(int32_t fd, const void* buffer, uint64_t count);
enum class SeekOrigin { kBegin, kCurrent, kEnd };
// The new position, or -1.
int64_t seekFile(int32_t fd, int64_t offset, SeekOrigin origin);
// Cuts the file to its first size bytes; the position stays where it was. 0, or -1 on error.
int32_t truncateFile(int32_t fd, uint64_t size);
// 0, or -1 on error. The descriptor is gone either way.
int32_t closeFile(int32_t fd);
// 0, or -1 when the name could not be removed.
int32_t unlinkFile(std::u16string_view path);

enum class FileError { kNone, kExists, kNotFound, kOther };
// Why the last failed call on this thread failed.
FileError lastFileError();

// What a name stands for, following symbolic links. Readers of files take only kRegular: a directory or a
// device opens, but reads as nothing, or without end.
enum class FileKind { kMissing, kRegular, kOther };
FileKind fileKind(std::u16string_view path);

// The name as the system takes it: separators as "/", UTF-8.
std::string systemPath(std::u16string_view path);

}  // namespace platform
