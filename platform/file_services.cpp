// Files for the modules: Windows paths on the host's file system, the descriptor-based
// file functions (binary mode) and the multimedia file functions that read RIFF files.
#include "platform_state.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <set>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

using platform::detail::enter;
using platform::detail::open_counts;

namespace platform::detail {

namespace {
bool exists(const std::string& path) {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0;
}

// The name in `folder` equal to `component` without regard to case; the first in byte
// order when several are, so the choice does not depend on the directory's order.
std::string match_in_folder(const std::string& folder, const std::string& component) {
    DIR* directory = ::opendir(folder.c_str());
    if (directory == nullptr) return component;
    std::string best;
    while (const dirent* entry = ::readdir(directory)) {
        if (::strcasecmp(entry->d_name, component.c_str()) == 0 && (best.empty() || best > entry->d_name)) {
            best = entry->d_name;
        }
    }
    ::closedir(directory);
    return best.empty() ? component : best;
}
} // namespace

std::string host_path(const char* windows_path) {
    std::string path(windows_path);
    const bool absolute = !path.empty() && (path[0] == '\\' || path[0] == '/');
    std::string result = absolute ? "" : ".";
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find_first_of("\\/", start);
        if (end == std::string::npos) end = path.size();
        std::string component = path.substr(start, end - start);
        start = end + 1;
        if (component.empty()) continue;
        std::string folder = result.empty() ? "/" : result;
        if (component != "." && component != ".." && !exists(folder + "/" + component)) {
            component = match_in_folder(folder, component);
        }
        result += "/" + component;
    }
    return result.empty() ? "/" : result;
}

} // namespace platform::detail

// ---- descriptor-based file functions -------------------------------------------------

namespace {
std::set<int>& descriptors() {
    static std::set<int> open;
    return open;
}

bool ours(int descriptor) {
    if (descriptors().count(descriptor) != 0) return true;
    errno = EBADF;
    return false;
}
} // namespace

PLATFORM_API int _sopen(const char* path, int open_flags, int share_flags, ...) {
    int permission = 0;
    if ((open_flags & _O_CREAT) != 0) {
        va_list arguments;
        va_start(arguments, share_flags);
        permission = va_arg(arguments, int);
        va_end(arguments);
    }
    if (!enter("_sopen")) {
        errno = EACCES;
        return -1;
    }
    constexpr int known = _O_RDONLY | _O_WRONLY | _O_RDWR | _O_APPEND | _O_CREAT | _O_TRUNC | _O_EXCL | _O_BINARY;
    if (path == nullptr || (open_flags & ~known) != 0 || (open_flags & _O_BINARY) == 0 || (open_flags & 3) == 3) {
        errno = EINVAL;
        return -1;
    }
    int flags = O_CLOEXEC;
    flags |= (open_flags & 3) == _O_WRONLY ? O_WRONLY : (open_flags & 3) == _O_RDWR ? O_RDWR : O_RDONLY;
    if ((open_flags & _O_APPEND) != 0) flags |= O_APPEND;
    if ((open_flags & _O_CREAT) != 0) flags |= O_CREAT;
    if ((open_flags & _O_TRUNC) != 0) flags |= O_TRUNC;
    if ((open_flags & _O_EXCL) != 0) flags |= O_EXCL;
    const mode_t mode = (permission & _S_IWRITE) != 0 ? 0666 : 0444;
    // Every sharing mode is honoured as _SH_DENYNO: nothing here locks a file.
    const int descriptor = ::open(platform::detail::host_path(path).c_str(), flags, mode);
    if (descriptor < 0) return -1;
    descriptors().insert(descriptor);
    ++open_counts().file_descriptors;
    return descriptor;
}

PLATFORM_API int _read(int descriptor, void* buffer, unsigned int bytes) {
    if (!enter("_read")) {
        errno = EIO;
        return -1;
    }
    if (!ours(descriptor)) return -1;
    if (bytes > static_cast<unsigned>(std::numeric_limits<int>::max())) bytes = std::numeric_limits<int>::max();
    return static_cast<int>(::read(descriptor, buffer, bytes));
}

PLATFORM_API int _write(int descriptor, const void* buffer, unsigned int bytes) {
    if (!enter("_write")) {
        errno = ENOSPC;
        return -1;
    }
    if (!ours(descriptor)) return -1;
    if (bytes > static_cast<unsigned>(std::numeric_limits<int>::max())) bytes = std::numeric_limits<int>::max();
    return static_cast<int>(::write(descriptor, buffer, bytes));
}

PLATFORM_API int _close(int descriptor) {
    const bool succeeds = enter("_close");
    if (!ours(descriptor)) return -1;
    descriptors().erase(descriptor);
    --open_counts().file_descriptors;
    const int result = ::close(descriptor);
    if (!succeeds) {
        errno = EIO;
        return -1;
    }
    return result;
}

PLATFORM_API int _unlink(const char* path) {
    if (!enter("_unlink") || path == nullptr) {
        errno = EACCES;
        return -1;
    }
    return ::unlink(platform::detail::host_path(path).c_str());
}

PLATFORM_API BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags) {
    // Only replacing moves are supplied: a rename replaces its target in one step.
    if (!enter("MoveFileExA") || from == nullptr || to == nullptr || flags != MOVEFILE_REPLACE_EXISTING) {
        return FALSE;
    }
    const std::string source = platform::detail::host_path(from);
    const std::string target = platform::detail::host_path(to);
    return ::rename(source.c_str(), target.c_str()) == 0 ? TRUE : FALSE;
}

// ---- multimedia file I/O --------------------------------------------------------------

namespace {

struct MultimediaFile {
    int descriptor = -1;
    bool buffered = false;
    std::vector<char> buffer;
    long long buffer_offset = 0; // file offset of buffer[0]
    long long valid = 0;         // bytes of the buffer read from the file
    long long next = 0;          // the next unread byte in the buffer

    long long position() const { return buffer_offset + next; }
    // Refills the buffer from the file at `offset`; false on a read error.
    bool fill(long long offset) {
        buffer_offset = offset;
        next = 0;
        valid = 0;
        const ssize_t got = ::pread(descriptor, buffer.data(), buffer.size(), offset);
        if (got < 0) return false;
        valid = got;
        return true;
    }
    void move_to(long long offset) {
        if (offset >= buffer_offset && offset <= buffer_offset + valid) {
            next = offset - buffer_offset;
        } else {
            buffer_offset = offset;
            valid = 0;
            next = 0;
        }
    }
    // Reads up to `bytes`; -1 on a read error.
    long long read(char* out, long long bytes) {
        long long total = 0;
        while (total < bytes) {
            if (next == valid) {
                if (!fill(position())) return -1;
                if (valid == 0) break;
            }
            const long long part = std::min(bytes - total, valid - next);
            std::memcpy(out + total, buffer.data() + next, static_cast<std::size_t>(part));
            next += part;
            total += part;
        }
        return total;
    }
    bool read_exact(void* out, long long bytes) { return read(static_cast<char*>(out), bytes) == bytes; }
    // A pointer the caller handed back, as an offset into the valid part of the buffer.
    bool offset_in_buffer(const char* pointer, long long& offset) const {
        if (pointer < buffer.data() || pointer > buffer.data() + valid) return false;
        offset = pointer - buffer.data();
        return true;
    }
};

std::set<MultimediaFile*>& multimedia_files() {
    static std::set<MultimediaFile*> open;
    return open;
}

MultimediaFile* multimedia_file(HMMIO handle) {
    auto* file = reinterpret_cast<MultimediaFile*>(handle);
    return multimedia_files().count(file) != 0 ? file : nullptr;
}

constexpr FOURCC fourcc(const char (&id)[5]) {
    return static_cast<FOURCC>(static_cast<BYTE>(id[0])) | static_cast<FOURCC>(static_cast<BYTE>(id[1])) << 8 |
           static_cast<FOURCC>(static_cast<BYTE>(id[2])) << 16 | static_cast<FOURCC>(static_cast<BYTE>(id[3])) << 24;
}
constexpr FOURCC RIFF_ID = fourcc("RIFF");
constexpr FOURCC LIST_ID = fourcc("LIST");
constexpr long long LARGEST_OFFSET = std::numeric_limits<LONG>::max();

// Reads the chunk header at the file's position into `chunk`; false when the file ends.
bool read_chunk_header(MultimediaFile& file, MMCKINFO& chunk) {
    const long long start = file.position();
    DWORD header[2];
    if (!file.read_exact(header, sizeof header)) return false;
    chunk.ckid = header[0];
    chunk.cksize = header[1];
    chunk.fccType = 0;
    chunk.dwFlags = 0;
    if (start + 8 > LARGEST_OFFSET) return false;
    chunk.dwDataOffset = static_cast<DWORD>(start + 8);
    if (chunk.ckid == RIFF_ID || chunk.ckid == LIST_ID) return file.read_exact(&chunk.fccType, 4);
    return true;
}

} // namespace

PLATFORM_API HMMIO mmioOpenA(LPSTR path, MMIOINFO* info, DWORD flags) {
    if (info != nullptr) info->wErrorRet = MMSYSERR_NOERROR;
    const auto refuse = [info](UINT error) -> HMMIO {
        if (info != nullptr) info->wErrorRet = error;
        return nullptr;
    };
    if (!enter("mmioOpenA")) return refuse(MMSYSERR_ERROR);
    // Only reading is supplied, buffered or not.
    if (path == nullptr || (flags & ~MMIO_ALLOCBUF) != MMIO_READ) return refuse(MMSYSERR_INVALPARAM);
    const int descriptor = ::open(platform::detail::host_path(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) return refuse(MMSYSERR_ERROR);
    auto* file = new MultimediaFile;
    file->descriptor = descriptor;
    file->buffered = (flags & MMIO_ALLOCBUF) != 0;
    file->buffer.resize(MMIO_DEFAULTBUFFER);
    multimedia_files().insert(file);
    ++open_counts().multimedia_files;
    return reinterpret_cast<HMMIO>(file);
}

PLATFORM_API MMRESULT mmioClose(HMMIO handle, UINT) {
    const bool succeeds = enter("mmioClose");
    MultimediaFile* file = multimedia_file(handle);
    if (file == nullptr) return MMSYSERR_INVALHANDLE;
    multimedia_files().erase(file);
    --open_counts().multimedia_files;
    ::close(file->descriptor);
    delete file;
    return succeeds ? MMSYSERR_NOERROR : MMIOERR_CANNOTCLOSE;
}

PLATFORM_API LONG mmioRead(HMMIO handle, HPSTR buffer, LONG bytes) {
    if (!enter("mmioRead")) return -1;
    MultimediaFile* file = multimedia_file(handle);
    if (file == nullptr || bytes < 0 || (buffer == nullptr && bytes > 0)) return -1;
    return static_cast<LONG>(file->read(buffer, bytes));
}

PLATFORM_API LONG mmioSeek(HMMIO handle, LONG offset, int origin) {
    if (!enter("mmioSeek")) return -1;
    MultimediaFile* file = multimedia_file(handle);
    if (file == nullptr) return -1;
    long long base = 0;
    if (origin == SEEK_CUR) {
        base = file->position();
    } else if (origin == SEEK_END) {
        struct stat info;
        if (::fstat(file->descriptor, &info) != 0) return -1;
        base = info.st_size;
    } else if (origin != SEEK_SET) {
        return -1;
    }
    const long long target = base + offset;
    if (target < 0 || target > LARGEST_OFFSET) return -1;
    file->move_to(target);
    return static_cast<LONG>(target);
}

PLATFORM_API MMRESULT mmioDescend(HMMIO handle, MMCKINFO* chunk, const MMCKINFO* parent, UINT flags) {
    if (!enter("mmioDescend")) return MMIOERR_CHUNKNOTFOUND;
    MultimediaFile* file = multimedia_file(handle);
    if (file == nullptr) return MMSYSERR_INVALHANDLE;
    if (chunk == nullptr || (flags != 0 && flags != MMIO_FINDCHUNK)) return MMSYSERR_INVALPARAM;
    if (flags == 0) return read_chunk_header(*file, *chunk) ? MMSYSERR_NOERROR : MMIOERR_CHUNKNOTFOUND;

    const FOURCC wanted = chunk->ckid;
    const long long end = parent != nullptr ? static_cast<long long>(parent->dwDataOffset) + parent->cksize
                                            : std::numeric_limits<long long>::max();
    for (;;) {
        if (file->position() + 8 > end) return MMIOERR_CHUNKNOTFOUND;
        MMCKINFO found;
        if (!read_chunk_header(*file, found)) return MMIOERR_CHUNKNOTFOUND;
        if (found.ckid == wanted) {
            *chunk = found;
            return MMSYSERR_NOERROR;
        }
        const long long after = static_cast<long long>(found.dwDataOffset) + found.cksize + (found.cksize & 1);
        if (after > LARGEST_OFFSET) return MMIOERR_CHUNKNOTFOUND;
        file->move_to(after);
    }
}

PLATFORM_API MMRESULT mmioAscend(HMMIO handle, MMCKINFO* chunk, UINT) {
    if (!enter("mmioAscend")) return MMIOERR_CANNOTSEEK;
    MultimediaFile* file = multimedia_file(handle);
    if (file == nullptr) return MMSYSERR_INVALHANDLE;
    if (chunk == nullptr) return MMSYSERR_INVALPARAM;
    const long long after = static_cast<long long>(chunk->dwDataOffset) + chunk->cksize + (chunk->cksize & 1);
    if (after > LARGEST_OFFSET) return MMIOERR_CANNOTSEEK;
    file->move_to(after);
    return MMSYSERR_NOERROR;
}

namespace {
// The buffer's state as the caller sees it.
void describe_buffer(MultimediaFile& file, HMMIO handle, MMIOINFO& info) {
    info = MMIOINFO{};
    info.dwFlags = file.buffered ? MMIO_ALLOCBUF : 0;
    info.hmmio = handle;
    if (!file.buffered) return;
    char* start = file.buffer.data();
    info.cchBuffer = static_cast<LONG>(file.buffer.size());
    info.pchBuffer = start;
    info.pchNext = start + file.next;
    info.pchEndRead = start + file.valid;
    info.pchEndWrite = start + file.buffer.size();
    info.lBufOffset = static_cast<LONG>(file.buffer_offset);
    info.lDiskOffset = static_cast<LONG>(file.buffer_offset + file.valid);
}
} // namespace

PLATFORM_API MMRESULT mmioGetInfo(HMMIO handle, MMIOINFO* info, UINT) {
    if (!enter("mmioGetInfo")) return MMSYSERR_INVALHANDLE;
    MultimediaFile* file = multimedia_file(handle);
    if (file == nullptr) return MMSYSERR_INVALHANDLE;
    if (info == nullptr) return MMSYSERR_INVALPARAM;
    describe_buffer(*file, handle, *info);
    return MMSYSERR_NOERROR;
}

PLATFORM_API MMRESULT mmioSetInfo(HMMIO handle, const MMIOINFO* info, UINT) {
    if (!enter("mmioSetInfo")) return MMSYSERR_INVALHANDLE;
    MultimediaFile* file = multimedia_file(handle);
    if (file == nullptr) return MMSYSERR_INVALHANDLE;
    if (info == nullptr) return MMSYSERR_INVALPARAM;
    if (!file->buffered) return MMSYSERR_NOERROR;
    long long next = 0;
    if (!file->offset_in_buffer(info->pchNext, next)) return MMSYSERR_INVALPARAM;
    file->next = next;
    return MMSYSERR_NOERROR;
}

PLATFORM_API MMRESULT mmioAdvance(HMMIO handle, MMIOINFO* info, UINT flags) {
    if (!enter("mmioAdvance")) return MMIOERR_CANNOTREAD;
    MultimediaFile* file = multimedia_file(handle);
    if (file == nullptr) return MMSYSERR_INVALHANDLE;
    if (info == nullptr || flags != MMIO_READ) return MMSYSERR_INVALPARAM;
    if (!file->buffered) return MMIOERR_UNBUFFERED;
    long long next = 0;
    if (!file->offset_in_buffer(info->pchNext, next)) return MMSYSERR_INVALPARAM;
    const bool filled = file->fill(file->buffer_offset + next);
    describe_buffer(*file, handle, *info);
    return filled ? MMSYSERR_NOERROR : MMIOERR_CANNOTREAD;
}
