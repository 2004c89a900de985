#include "HostStrings.h"

#include "Suites.h"

namespace curvicraft::ai {

namespace {

void check(CCErr err)
{
    if (err != kCCNoErr)
        throw Error(err);
}

} // namespace

UnicodeString::UnicodeString(const char* utf8)
{
    if (!sUnicodeString)
        throw Error(kCCSuiteNotFoundErr);
    check(sUnicodeString->NewFromUTF8(utf8 ? utf8 : "", &string_));
}

UnicodeString::~UnicodeString()
{
    if (string_ && sUnicodeString)
        sUnicodeString->Dispose(string_);
}

std::string UnicodeString::utf8() const
{
    const char* text = nullptr;
    check(sUnicodeString->GetUTF8(string_, &text));
    return text ? text : "";
}

WCHARStr::WCHARStr(const UnicodeString& text)
{
    const std::uint32_t* codePoints = nullptr;
    std::size_t length = 0;
    check(sUnicodeString->GetUTF32(text.get(), &codePoints, &length));
    text_.reserve(length);
    for (std::size_t i = 0; i < length; ++i) {
        const std::uint32_t c = codePoints[i];
        if constexpr (sizeof(wchar_t) >= 4) {
            text_ += static_cast<wchar_t>(c);
        } else if (c >= 0x10000) { // UTF-16 surrogate pair
            text_ += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
            text_ += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            text_ += static_cast<wchar_t>(c);
        }
    }
}

FilePath::~FilePath()
{
    if (path_ && sFilePath)
        sFilePath->DisposeFilePath(path_);
}

void FilePath::addComponent(const UnicodeString& name)
{
    check(sFilePath->AddComponent(path_, name.get()));
}

bool FilePath::exists() const
{
    return sFilePath->Exists(path_) != 0;
}

UnicodeString FilePath::fullPath() const
{
    CCUnicodeString text = nullptr;
    check(sFilePath->GetFullPath(path_, &text));
    return UnicodeString(text);
}

} // namespace curvicraft::ai
