// The Windows services the modules call. On Windows these are the system's own; elsewhere
// the platform library supplies the same names with the behaviour the modules rely on.
#pragma once

#if defined(_WIN32)
#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>
#include <dsound.h>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#else

#include <cstdarg>
#include <cstddef>
#include <cstdint>

#if defined(GAUGE_PLATFORM_BUILD)
#define PLATFORM_API extern "C" __attribute__((visibility("default")))
#else
#define PLATFORM_API extern "C"
#endif

// Formats like the Windows user library: %[-][0][width][.precision][l|h] with the
// conversions d i u x X s c and %%. Writes at most WSPRINTF_LIMIT characters and a NUL;
// returns the number of characters written.
inline constexpr int WSPRINTF_LIMIT = 1024;
PLATFORM_API int wsprintfA(char* buffer, const char* format, ...);
PLATFORM_API int wvsprintfA(char* buffer, const char* format, va_list arguments);

// ---- Windows scalar and handle types, with their Windows widths ----------------------

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using ULONG = std::uint32_t;
using LONG = std::int32_t;
using BOOL = std::int32_t;
using HRESULT = std::int32_t;
using MMRESULT = std::uint32_t;
using FOURCC = std::uint32_t;
using SIZE_T = std::size_t;
using LPSTR = char*;
using LPCSTR = const char*;
using HPSTR = char*;
using LPVOID = void*;
using LPDWORD = DWORD*;
using HGLOBAL = void*;

struct HWND__;
using HWND = HWND__*;
struct HMMIO__;
using HMMIO = HMMIO__*;
struct HACMOBJ__;
using HACMOBJ = HACMOBJ__*;
struct GUID;
struct IUnknown;
using LPUNKNOWN = IUnknown*;

inline constexpr BOOL FALSE = 0;
inline constexpr BOOL TRUE = 1;

// ---- Global memory blocks ----------------------------------------------------------

inline constexpr UINT GMEM_FIXED = 0x0000;
inline constexpr UINT GMEM_ZEROINIT = 0x0040;
inline constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;

// A fixed block: the handle is the block's address. Returns NULL when out of memory.
PLATFORM_API HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
// Returns NULL when the block was freed, the handle otherwise.
PLATFORM_API HGLOBAL GlobalFree(HGLOBAL block);

// ---- Windows and message boxes -------------------------------------------------------

inline constexpr UINT MB_OK = 0x00000000;
inline constexpr UINT MB_ICONERROR = 0x00000010;
inline constexpr int IDOK = 1;

PLATFORM_API HWND GetActiveWindow();
// Modal: returns the button the user chose (IDOK), or 0 when the box cannot be shown.
PLATFORM_API int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// ---- Descriptor-based file functions ---------------------------------------------------
// Paths are Windows paths: backslashes (or slashes) separate components, relative paths
// start at the current directory, and each component matches a name of any case.

inline constexpr int _O_RDONLY = 0x0000;
inline constexpr int _O_WRONLY = 0x0001;
inline constexpr int _O_RDWR = 0x0002;
inline constexpr int _O_APPEND = 0x0008;
inline constexpr int _O_CREAT = 0x0100;
inline constexpr int _O_TRUNC = 0x0200;
inline constexpr int _O_EXCL = 0x0400;
inline constexpr int _O_TEXT = 0x4000;
inline constexpr int _O_BINARY = 0x8000;
inline constexpr int _SH_DENYNO = 0x40;
inline constexpr int _S_IREAD = 0x0100;
inline constexpr int _S_IWRITE = 0x0080;

// Only binary mode is supplied: an open that asks for text mode (no _O_BINARY) fails.
// With _O_CREAT one further int argument gives the permission (_S_IREAD | _S_IWRITE).
PLATFORM_API int _sopen(const char* path, int open_flags, int share_flags, ...);
PLATFORM_API int _read(int descriptor, void* buffer, unsigned int bytes);
PLATFORM_API int _write(int descriptor, const void* buffer, unsigned int bytes);
PLATFORM_API int _close(int descriptor);
PLATFORM_API int _unlink(const char* path);

inline constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x1;
// Renames a file over an existing one in one step; only MOVEFILE_REPLACE_EXISTING is supplied.
PLATFORM_API BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags);

// ---- Multimedia file I/O ---------------------------------------------------------------

inline constexpr DWORD MMIO_READ = 0x00000000;
inline constexpr DWORD MMIO_ALLOCBUF = 0x00010000;
inline constexpr UINT MMIO_FINDCHUNK = 0x0010;
inline constexpr UINT MMIO_FINDRIFF = 0x0020;
inline constexpr UINT MMIO_FINDLIST = 0x0040;
inline constexpr LONG MMIO_DEFAULTBUFFER = 8192;

inline constexpr MMRESULT MMSYSERR_NOERROR = 0;
inline constexpr MMRESULT MMSYSERR_ERROR = 1;
inline constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
inline constexpr MMRESULT MMSYSERR_NOMEM = 7;
inline constexpr MMRESULT MMSYSERR_NOTSUPPORTED = 8;
inline constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
inline constexpr MMRESULT MMIOERR_CANNOTCLOSE = 260;
inline constexpr MMRESULT MMIOERR_CANNOTREAD = 261;
inline constexpr MMRESULT MMIOERR_CANNOTSEEK = 263;
inline constexpr MMRESULT MMIOERR_CHUNKNOTFOUND = 265;
inline constexpr MMRESULT MMIOERR_UNBUFFERED = 266;

// One RIFF chunk: its id, data size, form type (RIFF and LIST chunks) and where its data
// starts in the file.
struct MMCKINFO {
    FOURCC ckid;
    DWORD cksize;
    FOURCC fccType;
    DWORD dwDataOffset;
    DWORD dwFlags;
};

// The state of an open file's I/O buffer, for reading it directly: bytes from pchNext up
// to pchEndRead are unread; lBufOffset is the file offset of pchBuffer.
struct MMIOINFO {
    DWORD dwFlags;
    FOURCC fccIOProc;
    void* pIOProc;
    UINT wErrorRet;
    void* htask;
    LONG cchBuffer;
    HPSTR pchBuffer;
    HPSTR pchNext;
    HPSTR pchEndRead;
    HPSTR pchEndWrite;
    LONG lBufOffset;
    LONG lDiskOffset;
    DWORD adwInfo[3];
    DWORD dwReserved1;
    DWORD dwReserved2;
    HMMIO hmmio;
};

// Opens a file for reading (MMIO_READ, optionally MMIO_ALLOCBUF); NULL when it cannot.
PLATFORM_API HMMIO mmioOpenA(LPSTR path, MMIOINFO* info, DWORD flags);
PLATFORM_API MMRESULT mmioClose(HMMIO file, UINT flags);
// Returns the bytes read (0 at the end of the file), or -1.
PLATFORM_API LONG mmioRead(HMMIO file, HPSTR buffer, LONG bytes);
// Returns the new position, or -1.
PLATFORM_API LONG mmioSeek(HMMIO file, LONG offset, int origin);
// Without a search flag reads the chunk header at the current position; with
// MMIO_FINDCHUNK searches forward, inside the parent when one is given, for the chunk
// whose id the record names. Either way leaves the file at the chunk's data (after the
// form type of a RIFF or LIST chunk). MMIO_FINDRIFF and MMIO_FINDLIST are not supplied.
PLATFORM_API MMRESULT mmioDescend(HMMIO file, MMCKINFO* chunk, const MMCKINFO* parent, UINT flags);
// Moves past the end of the chunk (and its pad byte).
PLATFORM_API MMRESULT mmioAscend(HMMIO file, MMCKINFO* chunk, UINT flags);
PLATFORM_API MMRESULT mmioGetInfo(HMMIO file, MMIOINFO* info, UINT flags);
PLATFORM_API MMRESULT mmioSetInfo(HMMIO file, const MMIOINFO* info, UINT flags);
// Refills the buffer from the file at info->pchNext; at the end of the file no bytes
// are added (pchEndRead equals pchNext).
PLATFORM_API MMRESULT mmioAdvance(HMMIO file, MMIOINFO* info, UINT flags);

// ---- Wave format and the audio compression manager ----------------------------------

inline constexpr WORD WAVE_FORMAT_PCM = 1;

#pragma pack(push, 1)
struct WAVEFORMATEX {
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
    WORD wBitsPerSample;
    WORD cbSize;
};
#pragma pack(pop)
static_assert(sizeof(WAVEFORMATEX) == 18);

inline constexpr UINT ACM_METRIC_MAX_SIZE_FORMAT = 50;
// Answers the largest format size for the system (no object) as a DWORD.
PLATFORM_API MMRESULT acmMetrics(HACMOBJ object, UINT metric, LPVOID value);

// ---- DirectSound ---------------------------------------------------------------------

inline constexpr HRESULT DS_OK = 0;
inline constexpr HRESULT DSERR_GENERIC = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT DSERR_INVALIDPARAM = static_cast<HRESULT>(0x80070057u);
inline constexpr HRESULT DSERR_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
inline constexpr HRESULT DSERR_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
inline constexpr HRESULT DSERR_UNSUPPORTED = static_cast<HRESULT>(0x80004001u);
inline constexpr HRESULT DSERR_CONTROLUNAVAIL = static_cast<HRESULT>(0x8878001Eu);
inline constexpr HRESULT DSERR_INVALIDCALL = static_cast<HRESULT>(0x88780032u);
inline constexpr HRESULT DSERR_BADFORMAT = static_cast<HRESULT>(0x88780064u);
inline constexpr HRESULT DSERR_NODRIVER = static_cast<HRESULT>(0x88780078u);
inline constexpr HRESULT DSERR_ALREADYINITIALIZED = static_cast<HRESULT>(0x88780082u);
inline constexpr HRESULT DSERR_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);
#define FAILED(result) (static_cast<HRESULT>(result) < 0)
#define SUCCEEDED(result) (static_cast<HRESULT>(result) >= 0)

inline constexpr DWORD DSSCL_NORMAL = 1;
inline constexpr DWORD DSBCAPS_STATIC = 0x00000002;
inline constexpr DWORD DSBCAPS_CTRLFREQUENCY = 0x00000020;
inline constexpr DWORD DSBCAPS_CTRLPAN = 0x00000040;
inline constexpr DWORD DSBCAPS_CTRLVOLUME = 0x00000080;
inline constexpr DWORD DSBCAPS_LOCSOFTWARE = 0x00000008;
inline constexpr DWORD DSBSTATUS_PLAYING = 0x00000001;
inline constexpr DWORD DSBPLAY_LOOPING = 0x00000001;
inline constexpr DWORD DSBLOCK_ENTIREBUFFER = 0x00000002;
inline constexpr DWORD DSBSIZE_MIN = 4;
inline constexpr DWORD DSBSIZE_MAX = 0x0FFFFFFF;
inline constexpr LONG DSBVOLUME_MIN = -10000;
inline constexpr LONG DSBVOLUME_MAX = 0;
inline constexpr LONG DSBPAN_LEFT = -10000;
inline constexpr LONG DSBPAN_RIGHT = 10000;

// The buffer description in its five-field form; dwSize says which form the caller uses.
struct DSBUFFERDESC {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwBufferBytes;
    DWORD dwReserved;
    WAVEFORMATEX* lpwfxFormat;
};

struct DSBCAPS {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwBufferBytes;
    DWORD dwUnlockTransferRate;
    DWORD dwPlayCpuOverhead;
};

struct DSCAPS;
struct IDirectSound;

// The interfaces list their methods in their published slot order; every slot is
// present, so the tables have the published layout.
struct IDirectSoundBuffer {
    virtual HRESULT QueryInterface(const GUID& interface_id, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
    virtual HRESULT GetCaps(DSBCAPS* caps) = 0;
    virtual HRESULT GetCurrentPosition(DWORD* play_cursor, DWORD* write_cursor) = 0;
    virtual HRESULT GetFormat(WAVEFORMATEX* format, DWORD size, DWORD* size_written) = 0;
    virtual HRESULT GetVolume(LONG* volume) = 0;
    virtual HRESULT GetPan(LONG* pan) = 0;
    virtual HRESULT GetFrequency(DWORD* frequency) = 0;
    virtual HRESULT GetStatus(DWORD* status) = 0;
    virtual HRESULT Initialize(IDirectSound* device, const DSBUFFERDESC* description) = 0;
    virtual HRESULT Lock(DWORD offset, DWORD bytes, void** first, DWORD* first_bytes, void** second,
                         DWORD* second_bytes, DWORD flags) = 0;
    virtual HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) = 0;
    virtual HRESULT SetCurrentPosition(DWORD position) = 0;
    virtual HRESULT SetFormat(const WAVEFORMATEX* format) = 0;
    virtual HRESULT SetVolume(LONG volume) = 0;
    virtual HRESULT SetPan(LONG pan) = 0;
    virtual HRESULT SetFrequency(DWORD frequency) = 0;
    virtual HRESULT Stop() = 0;
    virtual HRESULT Unlock(void* first, DWORD first_bytes, void* second, DWORD second_bytes) = 0;
    virtual HRESULT Restore() = 0;
};

struct IDirectSound {
    virtual HRESULT QueryInterface(const GUID& interface_id, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
    virtual HRESULT CreateSoundBuffer(const DSBUFFERDESC* description, IDirectSoundBuffer** buffer,
                                      LPUNKNOWN outer) = 0;
    virtual HRESULT GetCaps(DSCAPS* caps) = 0;
    virtual HRESULT DuplicateSoundBuffer(IDirectSoundBuffer* original, IDirectSoundBuffer** duplicate) = 0;
    virtual HRESULT SetCooperativeLevel(HWND window, DWORD level) = 0;
    virtual HRESULT Compact() = 0;
    virtual HRESULT GetSpeakerConfig(DWORD* config) = 0;
    virtual HRESULT SetSpeakerConfig(DWORD config) = 0;
    virtual HRESULT Initialize(const GUID* device) = 0;
};

using LPDIRECTSOUND = IDirectSound*;
using LPDIRECTSOUNDBUFFER = IDirectSoundBuffer*;

// Opens the sound device; only the default device (NULL) exists.
PLATFORM_API HRESULT DirectSoundCreate(const GUID* device, IDirectSound** sound, LPUNKNOWN outer);

#endif
