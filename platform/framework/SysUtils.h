#pragma once
// Exceptions, resource strings, formatting and conversions of the host framework layer.
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

// ---------------------------------------------------------------------------
// Exceptions

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : FMessage(std::move(message)) {}
    ~Exception() override = default;
    const std::string& Message() const { return FMessage; }
    void SetMessage(const std::string& message) { FMessage = message; }
    const char* what() const noexcept override { return FMessage.c_str(); }

private:
    std::string FMessage;
};

// Declares an exception class that takes its message like its base.
#define LX_DECLARE_EXCEPTION(Name, Base) \
    class Name : public Base {           \
    public:                              \
        using Base::Base;                \
    }

LX_DECLARE_EXCEPTION(EListError, Exception);
LX_DECLARE_EXCEPTION(EOutOfResources, Exception);
LX_DECLARE_EXCEPTION(EOutOfMemory, Exception);
LX_DECLARE_EXCEPTION(EConvertError, Exception);
LX_DECLARE_EXCEPTION(EInvalidOperation, Exception);
LX_DECLARE_EXCEPTION(EInvalidPointer, Exception);
LX_DECLARE_EXCEPTION(EResNotFound, Exception);
LX_DECLARE_EXCEPTION(EStreamError, Exception);
LX_DECLARE_EXCEPTION(EFilerError, EStreamError);
LX_DECLARE_EXCEPTION(EReadError, EFilerError);
LX_DECLARE_EXCEPTION(EWriteError, EFilerError);
LX_DECLARE_EXCEPTION(EFOpenError, EStreamError);
LX_DECLARE_EXCEPTION(EFCreateError, EStreamError);
// String lists report their index errors as list errors, so one handler catches both.
LX_DECLARE_EXCEPTION(EStringListError, EListError);
// The silent exception: it ends an event handler, and the application's error display
// shows nothing for it.
LX_DECLARE_EXCEPTION(EAbort, Exception);
[[noreturn]] void Abort();

// ---------------------------------------------------------------------------
// Resource strings

extern const char* const SListIndexError;    // "List index out of bounds (%d)"
extern const char* const SListCountError;    // "List count out of bounds (%d)"
extern const char* const SListCapacityError; // "List capacity out of bounds (%d)"
extern const char* const sInsertError;       // "Unable to insert an item"
extern const char* const sInvalidLevel;      // "Invalid level (%d)"
extern const char* const SReadError;
extern const char* const SWriteError;
extern const char* const SFOpenError;   // "Cannot open file \"%s\". %s"
extern const char* const SFCreateError; // "Cannot create file \"%s\". %s"
extern const char* const SInvalidInteger;
extern const char* const SInvalidFloat;
extern const char* const SInvalidDate;
extern const char* const SInvalidTime;
extern const char* const SAssignError;   // "Cannot assign a %s to a %s"
extern const char* const SInvalidFormat; // "Format '%s' invalid or incompatible with argument"
extern const char* const SResNotFound;   // "Resource %s not found"

// ---------------------------------------------------------------------------
// Format: printf-like directives (%d %i %u %x %X %s %f %e %g %p %c %%, with flags, width
// and precision) checked against the argument types at run time. A directive that does
// not fit its argument, or a missing argument, raises EConvertError.

class TFormatArg {
public:
    enum TKind { akInt, akUInt, akFloat, akString, akPointer };

    template <typename T, std::enable_if_t<std::is_integral_v<T> && std::is_signed_v<T>, int> = 0>
    TFormatArg(T v) : FKind(akInt), FInt(v) {}
    template <typename T, std::enable_if_t<std::is_integral_v<T> && std::is_unsigned_v<T> && !std::is_same_v<T, bool>, int> = 0>
    TFormatArg(T v) : FKind(akUInt), FUInt(v) {}
    TFormatArg(bool v) : FKind(akInt), FInt(v ? 1 : 0) {}
    template <typename T, std::enable_if_t<std::is_enum_v<T>, int> = 0>
    TFormatArg(T v) : FKind(akInt), FInt(static_cast<long long>(v)) {}
    TFormatArg(double v) : FKind(akFloat), FFloat(v) {}
    TFormatArg(float v) : FKind(akFloat), FFloat(v) {}
    TFormatArg(long double v) : FKind(akFloat), FFloat(double(v)) {}
    TFormatArg(const std::string& v) : FKind(akString), FString(v) {}
    TFormatArg(const char* v) : FKind(akString), FString(v ? v : "") {}
    TFormatArg(char* v) : FKind(akString), FString(v ? v : "") {}
    TFormatArg(const void* v) : FKind(akPointer), FPointer(v) {}

    TKind Kind() const { return FKind; }
    long long AsInt() const { return FInt; }
    unsigned long long AsUInt() const { return FUInt; }
    double AsFloat() const { return FFloat; }
    const std::string& AsString() const { return FString; }
    const void* AsPointer() const { return FPointer; }

private:
    TKind FKind;
    long long FInt = 0;
    unsigned long long FUInt = 0;
    double FFloat = 0;
    std::string FString;
    const void* FPointer = nullptr;
};

std::string FormatArgs(const char* fmt, const std::vector<TFormatArg>& args);

template <typename... Args>
std::string Format(const char* fmt, const Args&... args)
{
    return FormatArgs(fmt, std::vector<TFormatArg>{TFormatArg(args)...});
}
template <typename... Args>
std::string Format(const std::string& fmt, const Args&... args)
{
    return Format(fmt.c_str(), args...);
}

// ---------------------------------------------------------------------------
// Strings (UTF-8 bytes; case folding touches only ASCII letters)

int CompareText(std::string_view a, std::string_view b); // <0, 0, >0
// Appends s as CompareText sees it (ASCII letters in upper case): plain byte order of
// two such folds has the signs of CompareText.
void AppendTextFold(std::string& out, std::string_view s);
bool SameText(const std::string& a, const std::string& b);
int CompareStr(std::string_view a, std::string_view b);
std::string UpperCase(const std::string& s);
std::string LowerCase(const std::string& s);
std::string Trim(const std::string& s);
std::string TrimLeft(const std::string& s);
std::string TrimRight(const std::string& s);

// ---------------------------------------------------------------------------
// Numbers

std::string IntToStr(long long value);
std::string IntToHex(unsigned long long value, int digits);
// Accepts decimal and hexadecimal ("$1F", "0x1F") 32-bit values, surrounding blanks allowed.
int StrToInt(const std::string& s);
int StrToIntDef(const std::string& s, int defaultValue);
bool TryStrToInt(const std::string& s, int& value);
long long StrToInt64(const std::string& s);
// Floats use the current locale's decimal separator, 15 significant digits.
std::string FloatToStr(double value);
double StrToFloat(const std::string& s);
bool TryStrToFloat(const std::string& s, double& value);
int MulDiv(int number, int numerator, int denominator); // rounded, -1 on a zero denominator

// ---------------------------------------------------------------------------
// Dates and times: whole days since 1899-12-30, the time of day as the fraction.

using TDateTime = double;

TDateTime EncodeDate(int year, int month, int day);          // EConvertError when invalid
TDateTime EncodeTime(int hour, int min, int sec, int msec);  // EConvertError when invalid
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& min, int& sec, int& msec);
TDateTime Now();
TDateTime Date();
TDateTime Time();
// The locale's short date format (with four-digit years) and its time format with seconds.
std::string DateToStr(TDateTime value);
std::string TimeToStr(TDateTime value);
std::string DateTimeToStr(TDateTime value);
TDateTime StrToDate(const std::string& s);
TDateTime StrToTime(const std::string& s);
TDateTime StrToDateTime(const std::string& s);
bool TryStrToDate(const std::string& s, TDateTime& value);
bool TryStrToTime(const std::string& s, TDateTime& value);
