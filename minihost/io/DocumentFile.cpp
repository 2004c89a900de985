#include "io/DocumentFile.h"

#include "io/JsonFormat.h"
#include "io/SvgFormat.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace minihost::DocumentFile {

namespace {

enum class Kind { Json, Svg };

Kind kindOf(const std::filesystem::path& file)
{
    std::string ext = file.extension().string();
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".json")
        return Kind::Json;
    if (ext == ".svg")
        return Kind::Svg;
    throw FileError(file.string() + ": unknown kind of document (the name must end in .json or .svg)");
}

std::string systemError()
{
    return std::strerror(errno);
}

} // namespace

std::unique_ptr<Document> load(const std::filesystem::path& file)
{
    Kind kind = kindOf(file);
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw FileError(file.string() + ": cannot open: " + systemError());
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad())
        throw FileError(file.string() + ": cannot read: " + systemError());
    std::string name = file.string();
    return kind == Kind::Json ? JsonFormat::read(text.str(), name) : SvgFormat::read(text.str(), name);
}

void save(const Document& doc, const std::filesystem::path& file)
{
    Kind kind = kindOf(file);
    std::string name = file.string();
    std::string text = kind == Kind::Json ? JsonFormat::write(doc, name) : SvgFormat::write(doc, name);

    // A temporary file beside the target, so that the final rename stays within one file system.
    std::filesystem::path dir = file.parent_path().empty() ? std::filesystem::path(".") : file.parent_path();
    std::string tmpl = (dir / ("." + file.filename().string() + ".XXXXXX")).string();
    int fd = ::mkstemp(tmpl.data());
    if (fd < 0)
        throw FileError(name + ": cannot write: " + systemError());
    auto abandon = [&](const std::string& what) {
        std::string reason = what + ": " + systemError();
        ::close(fd);
        ::unlink(tmpl.c_str());
        throw FileError(name + ": " + reason + "; nothing was written");
    };
    // Keep the permissions of a file being replaced; a new file gets the usual ones.
    struct stat st {};
    mode_t mode;
    if (::stat(name.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd, mode) != 0)
        abandon("cannot set permissions");
    const char* p = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            abandon("cannot write");
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0) {
        std::string reason = systemError();
        ::unlink(tmpl.c_str());
        throw FileError(name + ": cannot write: " + reason + "; nothing was written");
    }
    if (std::rename(tmpl.c_str(), name.c_str()) != 0) {
        std::string reason = systemError();
        ::unlink(tmpl.c_str());
        throw FileError(name + ": cannot replace: " + reason + "; nothing was written");
    }
}

} // namespace minihost::DocumentFile
