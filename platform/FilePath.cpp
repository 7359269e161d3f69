#include "platform/FilePath.h"

#include <algorithm>
#include <cctype>
#include <atomic>
#include <cerrno>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace platform {

namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

std::vector<std::string> SplitComponents(std::string_view relative)
{
    std::vector<std::string> parts;
    std::string current;
    for (const char c : relative) {
        if (c == '/' || c == '\\') {
            if (!current.empty())
                parts.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty())
        parts.push_back(std::move(current));
    return parts;
}

} // namespace

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

std::optional<fs::path> FindEntry(const fs::path& folder, std::string_view name)
{
    std::error_code ec;
    const fs::path exact = folder / fs::path(std::string(name));
    if (fs::exists(exact, ec))
        return exact;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec);
    if (ec)
        return std::nullopt;
    for (const fs::directory_entry& entry : it) {
        if (SameName(entry.path().filename().string(), name))
            return folder / entry.path().filename();
    }
    return std::nullopt;
}

std::optional<fs::path> FindPath(const fs::path& folder, std::string_view relative)
{
    fs::path current = folder;
    for (const std::string& part : SplitComponents(relative)) {
        if (part == ".")
            continue;
        if (part == "..") {
            current /= "..";
            continue;
        }
        const std::optional<fs::path> next = FindEntry(current, part);
        if (!next)
            return std::nullopt;
        current = *next;
    }
    std::error_code ec;
    if (!fs::exists(current, ec))
        return std::nullopt;
    return current;
}

fs::path ResolvePath(const fs::path& folder, std::string_view relative)
{
    fs::path result = folder;
    bool existing = true;
    for (const std::string& part : SplitComponents(relative)) {
        if (existing) {
            if (std::optional<fs::path> next = FindEntry(result, part)) {
                result = *next;
                continue;
            }
            existing = false;
        }
        result /= part;
    }
    return result;
}

std::vector<fs::path> SplitSearchPath(std::string_view list)
{
    std::vector<fs::path> folders;
    size_t start = 0;
    while (start <= list.size()) {
        const size_t end = std::min(list.find(':', start), list.size());
        if (end > start)
            folders.emplace_back(std::string(list.substr(start, end - start)));
        start = end + 1;
    }
    return folders;
}

namespace {

std::atomic<int> SimulatedWriteError{0};

std::string Reason(int errorNumber) { return std::generic_category().message(errorNumber); }

// Closes the descriptor on every path out.
struct TDescriptor {
    int Fd = -1;
    explicit TDescriptor(int fd) : Fd(fd) {}
    TDescriptor(const TDescriptor&) = delete;
    TDescriptor& operator=(const TDescriptor&) = delete;
    ~TDescriptor()
    {
        if (Fd >= 0)
            ::close(Fd);
    }
    // Closes now; the errno of a failed close, else 0.
    int Close()
    {
        const int result = ::close(Fd);
        Fd = -1;
        return result == 0 ? 0 : errno;
    }
};

// Every byte written, or the errno that stopped it.
int WriteAll(int fd, std::string_view contents)
{
    if (const int simulated = SimulatedWriteError.load())
        return simulated;
    while (!contents.empty()) {
        const ssize_t written = ::write(fd, contents.data(), contents.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        contents.remove_prefix(std::size_t(written));
    }
    return 0;
}

int SyncFile(int fd)
{
    while (::fsync(fd) != 0) {
        if (errno != EINTR)
            return errno;
    }
    return 0;
}

// A folder that cannot be synced (some file systems refuse) still holds the
// renamed file; only the durability against a power cut is weaker there.
void SyncFolder(const fs::path& folder)
{
    const TDescriptor dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Fd >= 0)
        ::fsync(dir.Fd);
}

bool Fail(std::string* error, const std::string& text)
{
    if (error != nullptr)
        *error = text;
    return false;
}

} // namespace

void SimulateWriteFailure(int errorNumber) { SimulatedWriteError.store(errorNumber); }

fs::path TemporaryFileFor(const fs::path& file)
{
    return file.parent_path() / (file.filename().string() + ".tmp");
}

bool WriteFileAtomically(const fs::path& file, std::string_view contents, std::string* error)
{
    const fs::path temporary = TemporaryFileFor(file);
    TDescriptor out(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644));
    if (out.Fd < 0)
        return Fail(error, Reason(errno));
    int failure = WriteAll(out.Fd, contents);
    if (failure == 0)
        failure = SyncFile(out.Fd);
    if (const int closeFailure = out.Close(); failure == 0)
        failure = closeFailure;
    std::error_code ec;
    if (failure == 0)
        fs::rename(temporary, file, ec);
    if (failure != 0 || ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return Fail(error, failure != 0 ? Reason(failure) : ec.message());
    }
    SyncFolder(file.parent_path());
    return true;
}

bool IsRegularFileWithin(const fs::path& file, std::uintmax_t limit)
{
    struct stat info {};
    return ::stat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode) && std::uintmax_t(info.st_size) <= limit;
}

std::optional<std::string> ReadWholeFile(const fs::path& file, std::uintmax_t limit, std::string* error)
{
    // Without O_NONBLOCK opening a pipe would wait for a writer for ever.
    TDescriptor in(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (in.Fd < 0) {
        Fail(error, Reason(errno));
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(in.Fd, &info) != 0) {
        Fail(error, Reason(errno));
        return std::nullopt;
    }
    if (!S_ISREG(info.st_mode)) {
        Fail(error, "it is not a regular file");
        return std::nullopt;
    }
    if (std::uintmax_t(info.st_size) > limit) {
        Fail(error, "it is larger than " + std::to_string(limit >> 20 > 0 ? limit >> 20 : 1) + " MB");
        return std::nullopt;
    }
    std::string bytes;
    bytes.resize(std::size_t(info.st_size));
    std::size_t done = 0;
    while (true) {
        if (done == bytes.size()) {
            // The file may have grown since fstat; never past the limit.
            if (bytes.size() >= limit)
                break;
            bytes.resize(std::min<std::uintmax_t>(limit, bytes.size() + 4096));
        }
        const ssize_t got = ::read(in.Fd, bytes.data() + done, bytes.size() - done);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            Fail(error, Reason(errno));
            return std::nullopt;
        }
        if (got == 0)
            break;
        done += std::size_t(got);
    }
    bytes.resize(done);
    return bytes;
}

} // namespace platform
