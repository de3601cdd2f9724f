// The file system through the wide-character Win32 calls, with share modes.
#include <windows.h>

#include "common/filesystem.h"
#include "common/win32/filetime.h"
#include "common/win32/handles.h"
#include "common/win32/text.h"

namespace zv {
namespace {

class Win32ReadFile : public IReadFile {
public:
    explicit Win32ReadFile(HANDLE h) : h_(h) {}
    std::size_t Read(char* buf, std::size_t size) override {
        const DWORD want = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD got = 0;
        if (!ReadFile(h_.Get(), buf, want, &got, nullptr))
            return 0;
        return got;
    }

private:
    UniqueFile h_;
};

class Win32WriteFile : public IWriteFile {
public:
    explicit Win32WriteFile(HANDLE h) : h_(h) {}
    bool Write(std::string_view data) override {
        while (!data.empty()) {
            const DWORD want =
                data.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(data.size());
            DWORD put = 0;
            if (!WriteFile(h_.Get(), data.data(), want, &put, nullptr) || put == 0)
                return false;
            data.remove_prefix(put);
        }
        return true;
    }

private:
    UniqueFile h_;
};

// Lists an open folder through its directory information. False when the file system
// does not give that information (nothing is listed then).
bool ListOpenFolder(HANDLE folder, std::vector<DirEntry>& entries) {
    constexpr DWORD bytes = 64 * 1024;
    const auto storage = std::make_unique_for_overwrite<std::uint64_t[]>(bytes / 8);  // aligned
    char* const buffer = reinterpret_cast<char*>(storage.get());
    FILE_INFO_BY_HANDLE_CLASS what = FileIdBothDirectoryRestartInfo;
    while (GetFileInformationByHandleEx(folder, what, buffer, bytes)) {
        what = FileIdBothDirectoryInfo;
        for (std::size_t offset = 0;;) {
            const auto* info = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer + offset);
            DirEntry& e = entries.emplace_back();
            e.name =
                FromWide(std::wstring_view(info->FileName, info->FileNameLength / sizeof(WCHAR)));
            e.isDirectory = (info->FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            e.isLink = (info->FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
            e.fileId = static_cast<std::uint64_t>(info->FileId.QuadPart);
            e.lastWrite = info->LastWriteTime.QuadPart;
            e.changed = info->ChangeTime.QuadPart;
            e.size = static_cast<std::uint64_t>(info->EndOfFile.QuadPart);
            if (info->NextEntryOffset == 0)
                break;
            offset += info->NextEntryOffset;
        }
    }
    return GetLastError() == ERROR_NO_MORE_FILES;
}

// Lists a folder through a search handle on "folder\*.*": no change times.
bool SearchFolder(const std::wstring& folder, std::vector<DirEntry>& entries) {
    WIN32_FIND_DATAW data;
    const HANDLE h = FindFirstFileW((folder + L"\\*.*").c_str(), &data);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    do {
        DirEntry& e = entries.emplace_back();
        e.name = FromWide(data.cFileName);
        e.isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        e.isLink = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        e.lastWrite = TicksOf(data.ftLastWriteTime);
        e.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    } while (FindNextFileW(h, &data));
    FindClose(h);
    return true;
}

// The volume and file index of a folder: what tells it from another folder later put at
// its path.
struct FolderIdentity {
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
    bool operator==(const FolderIdentity&) const = default;
};

bool IdentifyFolder(const std::wstring& path, FolderIdentity& id) {
    const UniqueFile h(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!h || !GetFileInformationByHandle(h.Get(), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return false;
    }
    id = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    return true;
}

// Change notifications are trusted on local disks only: network redirectors may drop
// them, and removable media come and go under the handle.
bool OnLocalDisk(const std::wstring& path) {
    if (path.size() < 3 || path[1] != L':' || path[2] != L'\\')
        return false;
    const UINT type = GetDriveTypeW(path.substr(0, 3).c_str());
    return type == DRIVE_FIXED || type == DRIVE_RAMDISK;
}

// A change notification on a folder. It does not tell when the folder itself is renamed
// or removed; with a path to track, the folder at that path must still be the watched
// one as well.
class Win32FolderWatch : public IFolderWatch {
public:
    Win32FolderWatch(std::wstring trackedPath, UniqueChangeNotification h, FolderIdentity id)
        : path_(std::move(trackedPath)), h_(std::move(h)), id_(id) {}

    bool Changed() override {
        return WaitForSingleObject(h_.Get(), 0) != WAIT_TIMEOUT || !StillThere();
    }
    bool Rearm() override { return FindNextChangeNotification(h_.Get()) && StillThere(); }

    static constexpr DWORD kFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                     FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SIZE |
                                     FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SECURITY;

private:
    bool StillThere() const {
        if (path_.empty())
            return true;
        FolderIdentity now;
        return IdentifyFolder(path_, now) && now == id_;
    }

    std::wstring path_;
    UniqueChangeNotification h_;
    FolderIdentity id_;
};

class Win32FileSystem : public IFileSystem {
public:
    std::unique_ptr<IReadFile> OpenRead(const std::string& path, bool exclusive,
                                        SysError* error) override {
        const HANDLE h = CreateFileW(ToWide(path).c_str(), GENERIC_READ,
                                     exclusive ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            if (error)
                *error = GetLastError();
            return nullptr;
        }
        return std::make_unique<Win32ReadFile>(h);
    }
    std::unique_ptr<IWriteFile> CreateWrite(const std::string& path, bool exclusive,
                                            SysError* error) override {
        const HANDLE h =
            CreateFileW(ToWide(path).c_str(), GENERIC_WRITE, exclusive ? 0 : FILE_SHARE_READ,
                        nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            if (error)
                *error = GetLastError();
            return nullptr;
        }
        return std::make_unique<Win32WriteFile>(h);
    }
    std::unique_ptr<IWriteFile> OpenAppend(const std::string& path, SysError* error) override {
        const HANDLE h = CreateFileW(ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            if (error)
                *error = GetLastError();
            return nullptr;
        }
        auto file = std::make_unique<Win32WriteFile>(h);
        LARGE_INTEGER zero{};
        if (!SetFilePointerEx(h, zero, nullptr, FILE_END)) {
            if (error)
                *error = GetLastError();
            return nullptr;
        }
        return file;
    }
    // A file opened for reading beside any other program's reading, writing or deleting.
    static HANDLE OpenSharingAll(const std::string& path) {
        return CreateFileW(ToWide(path).c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    bool ReadAll(const std::string& path, std::string& out) override {
        out.clear();
        const HANDLE h = OpenSharingAll(path);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        Win32ReadFile file(h);
        char buf[8192];
        std::size_t got;
        while ((got = file.Read(buf, sizeof buf)) > 0)
            out.append(buf, got);
        return true;
    }
    bool ReadFrom(const std::string& path, std::uint64_t offset, std::size_t max,
                  std::string& out) override {
        out.clear();
        const HANDLE h = OpenSharingAll(path);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        Win32ReadFile file(h);
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(h, &size))
            return false;
        if (static_cast<std::uint64_t>(size.QuadPart) <= offset)
            return true;
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(offset);
        if (!SetFilePointerEx(h, at, nullptr, FILE_BEGIN))
            return false;
        char buf[8192];
        std::size_t got;
        while (out.size() < max &&
               (got = file.Read(buf, std::min(sizeof buf, max - out.size()))) > 0)
            out.append(buf, got);
        return true;
    }
    bool ReplaceContent(const std::string& path, std::string_view data) override {
        const std::wstring target = ToWide(path);
        // Windows refuses to rename over a read-only file; Wine (as root, or on a file
        // system without permissions) renames over it. A file the user protected is never
        // replaced.
        const DWORD attributes = GetFileAttributesW(target.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
            SetLastError(ERROR_ACCESS_DENIED);
            return false;
        }
        const std::wstring temp = target + L".tmp~" + std::to_wstring(GetCurrentProcessId());
        const HANDLE h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        bool ok;
        {
            Win32WriteFile file(h);
            ok = file.Write(data) && FlushFileBuffers(h);
        }
        if (ok)
            ok = MoveFileExW(temp.c_str(), target.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        if (!ok)
            DeleteFileW(temp.c_str());
        return ok;
    }
    bool Exists(const std::string& path) override {
        return GetFileAttributesW(ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    bool IsDirectory(const std::string& path) override {
        const DWORD a = GetFileAttributesW(ToWide(path).c_str());
        return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }
    bool MakeDirectory(const std::string& path) override {
        return CreateDirectoryW(ToWide(path).c_str(), nullptr) != 0;
    }
    bool ListDirectory(const std::string& path, std::vector<DirEntry>& entries) override {
        entries.clear();
        const std::wstring wide = ToWide(path);
        // The directory information of an open folder carries the change time, which
        // moves with permission and attribute changes that leave the write time alone.
        // Some network file systems do not give it: the search handle's listing then.
        const UniqueFile folder(CreateFileW(wide.c_str(), FILE_LIST_DIRECTORY,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                            nullptr));
        if (folder) {
            if (ListOpenFolder(folder.Get(), entries))
                return true;
            entries.clear();
        }
        return SearchFolder(wide, entries);
    }
    std::unique_ptr<IFolderWatch> WatchFolder(const std::string& path, bool trackPath) override {
        std::wstring wide = ToWide(path);
        FolderIdentity id;
        if (!OnLocalDisk(wide) || (trackPath && !IdentifyFolder(wide, id)))
            return nullptr;
        UniqueChangeNotification h(
            FindFirstChangeNotificationW(wide.c_str(), FALSE, Win32FolderWatch::kFilter));
        if (!h)
            return nullptr;
        if (!trackPath)
            wide.clear();
        return std::make_unique<Win32FolderWatch>(std::move(wide), std::move(h), id);
    }
    std::string ErrorText(SysError error) override { return SystemErrorText(error); }
};

}  // namespace

IFileSystem& PlatformFileSystem() {
    static Win32FileSystem fs;
    return fs;
}

}  // namespace zv
