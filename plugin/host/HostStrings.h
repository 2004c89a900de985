// Owning wrappers of the host's strings and file paths. A failing host call raises ai::Error with the
// host's code; operations catch it at their boundary.
#pragma once

#include "AIError.h"
#include "cc_suites.h"

#include <string>

namespace curvicraft::ai {

class UnicodeString {
  public:
    explicit UnicodeString(const char* utf8);
    explicit UnicodeString(CCUnicodeString adopted) noexcept : string_(adopted) {}
    ~UnicodeString();
    UnicodeString(const UnicodeString&) = delete;
    UnicodeString& operator=(const UnicodeString&) = delete;

    CCUnicodeString get() const noexcept { return string_; }
    std::string utf8() const;

  private:
    CCUnicodeString string_ = nullptr;
};

// The text as a wide-character string, as the platform's module loader takes file names.
class WCHARStr {
  public:
    explicit WCHARStr(const UnicodeString& text);
    const wchar_t* as_WCHARStr() const noexcept { return text_.c_str(); }

  private:
    std::wstring text_;
};

class FilePath {
  public:
    explicit FilePath(CCFilePath adopted) noexcept : path_(adopted) {}
    ~FilePath();
    FilePath(const FilePath&) = delete;
    FilePath& operator=(const FilePath&) = delete;

    CCFilePath get() const noexcept { return path_; }
    void addComponent(const UnicodeString& name);
    bool exists() const;
    UnicodeString fullPath() const;

  private:
    CCFilePath path_ = nullptr;
};

} // namespace curvicraft::ai
