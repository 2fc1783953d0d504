#include "platform/framework/SysUtils.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QTime>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

const char* const SListIndexError = "List index out of bounds (%d)";
const char* const SListCountError = "List count out of bounds (%d)";
const char* const SListCapacityError = "List capacity out of bounds (%d)";
const char* const sInsertError = "Unable to insert an item";
const char* const sInvalidLevel = "Invalid level (%d)";
const char* const SReadError = "Stream read error";
const char* const SWriteError = "Stream write error";
const char* const SFOpenError = "Cannot open file \"%s\". %s";
const char* const SFCreateError = "Cannot create file \"%s\". %s";
const char* const SInvalidInteger = "'%s' is not a valid integer value";
const char* const SInvalidFloat = "'%s' is not a valid floating point value";
const char* const SInvalidDate = "'%s' is not a valid date";
const char* const SInvalidTime = "'%s' is not a valid time";
const char* const SAssignError = "Cannot assign a %s to a %s";
const char* const SInvalidFormat = "Format '%s' invalid or incompatible with argument";
const char* const SResNotFound = "Resource %s not found";

// ---------------------------------------------------------------------------
// Format

namespace {

[[noreturn]] void RaiseFormatError(const char* fmt)
{
    throw EConvertError(std::string("Format '") + fmt + "' invalid or incompatible with argument");
}

std::string PrintfOne(const std::string& directive, const TFormatArg& arg, char conv)
{
    // directive holds "%", flags, width and precision; the length modifier and conversion follow.
    char buf[512];
    int n = -1;
    switch (conv) {
    case 'd': case 'i':
        if (arg.Kind() == TFormatArg::akInt)
            n = std::snprintf(buf, sizeof buf, (directive + "lld").c_str(), arg.AsInt());
        else
            n = std::snprintf(buf, sizeof buf, (directive + "llu").c_str(), arg.AsUInt());
        break;
    case 'u': case 'x': case 'X': {
        unsigned long long v = arg.Kind() == TFormatArg::akInt ? static_cast<unsigned long long>(arg.AsInt())
                                                                : arg.AsUInt();
        n = std::snprintf(buf, sizeof buf, (directive + "ll" + conv).c_str(), v);
        break;
    }
    case 'c':
        n = std::snprintf(buf, sizeof buf, (directive + "c").c_str(), int(arg.AsInt()));
        break;
    case 'f': case 'e': case 'g': case 'E': case 'G':
        n = std::snprintf(buf, sizeof buf, (directive + conv).c_str(), arg.AsFloat());
        break;
    case 'p':
        n = std::snprintf(buf, sizeof buf, (directive + "p").c_str(), arg.AsPointer());
        break;
    case 's': {
        // The string may be longer than the buffer: size it first.
        const std::string f = directive + "s";
        int len = std::snprintf(nullptr, 0, f.c_str(), arg.AsString().c_str());
        std::string out(size_t(std::max(len, 0)) + 1, '\0');
        std::snprintf(out.data(), out.size(), f.c_str(), arg.AsString().c_str());
        out.resize(size_t(std::max(len, 0)));
        return out;
    }
    }
    return n < 0 ? std::string() : std::string(buf, size_t(std::min<int>(n, sizeof buf - 1)));
}

bool ArgFits(char conv, TFormatArg::TKind kind)
{
    switch (conv) {
    case 'd': case 'i': case 'u': case 'x': case 'X': case 'c':
        return kind == TFormatArg::akInt || kind == TFormatArg::akUInt;
    case 'f': case 'e': case 'g': case 'E': case 'G':
        return kind == TFormatArg::akFloat;
    case 's':
        return kind == TFormatArg::akString;
    case 'p':
        return kind == TFormatArg::akPointer;
    }
    return false;
}

} // namespace

std::string FormatArgs(const char* fmt, const std::vector<TFormatArg>& args)
{
    std::string out;
    size_t next = 0;
    for (const char* p = fmt; *p; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        if (p[1] == '%') {
            out += '%';
            ++p;
            continue;
        }
        std::string directive = "%";
        const char* q = p + 1;
        while (*q && std::string("-+ #0").find(*q) != std::string::npos)
            directive += *q++;
        while (*q >= '0' && *q <= '9')
            directive += *q++;
        if (*q == '.') {
            directive += *q++;
            while (*q >= '0' && *q <= '9')
                directive += *q++;
        }
        while (*q == 'l' || *q == 'h' || *q == 'z')
            ++q; // length modifiers are implied by the argument
        const char conv = *q;
        if (!conv || next >= args.size() || !ArgFits(conv, args[next].Kind()))
            RaiseFormatError(fmt);
        out += PrintfOne(directive, args[next++], conv);
        p = q;
    }
    return out;
}

// ---------------------------------------------------------------------------
// Strings

namespace {
char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }
} // namespace

int CompareText(std::string_view a, std::string_view b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const int ca = static_cast<unsigned char>(AsciiUpper(a[i]));
        const int cb = static_cast<unsigned char>(AsciiUpper(b[i]));
        if (ca != cb)
            return ca - cb;
    }
    return int(a.size()) - int(b.size());
}

void AppendTextFold(std::string& out, std::string_view s)
{
    for (char c : s)
        out += AsciiUpper(c);
}

bool SameText(const std::string& a, const std::string& b) { return CompareText(a, b) == 0; }

int CompareStr(std::string_view a, std::string_view b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const int ca = static_cast<unsigned char>(a[i]);
        const int cb = static_cast<unsigned char>(b[i]);
        if (ca != cb)
            return ca - cb;
    }
    return int(a.size()) - int(b.size());
}

std::string UpperCase(const std::string& s)
{
    std::string r(s);
    for (char& c : r)
        c = AsciiUpper(c);
    return r;
}

std::string LowerCase(const std::string& s)
{
    std::string r(s);
    for (char& c : r)
        c = AsciiLower(c);
    return r;
}

std::string TrimLeft(const std::string& s)
{
    size_t i = 0;
    while (i < s.size() && IsBlank(s[i]))
        ++i;
    return s.substr(i);
}

std::string TrimRight(const std::string& s)
{
    size_t n = s.size();
    while (n > 0 && IsBlank(s[n - 1]))
        --n;
    return s.substr(0, n);
}

std::string Trim(const std::string& s) { return TrimRight(TrimLeft(s)); }

// ---------------------------------------------------------------------------
// Numbers

std::string IntToStr(long long value) { return std::to_string(value); }

std::string IntToHex(unsigned long long value, int digits)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0*llX", digits, value);
    return buf;
}

namespace {

bool ParseInt64(const std::string& text, long long& value)
{
    const std::string s = Trim(text);
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size())
        return false;
    unsigned long long magnitude = 0;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        if (magnitude > (std::numeric_limits<unsigned long long>::max() - digit) / base)
            return false;
        magnitude = magnitude * base + digit;
    }
    if (magnitude > static_cast<unsigned long long>(std::numeric_limits<long long>::max()) + (negative ? 1 : 0))
        return false;
    value = negative ? static_cast<long long>(0 - magnitude) : static_cast<long long>(magnitude);
    return true;
}

// Hexadecimal literals name bit patterns, so "$FFFFFFFF" is -1 as a 32-bit value.
bool FitsInt32(long long v, const std::string& text)
{
    const bool hex = text.find('$') != std::string::npos || text.find('x') != std::string::npos ||
                     text.find('X') != std::string::npos;
    if (hex)
        return v >= std::numeric_limits<int>::min() && v <= 0xFFFFFFFFLL;
    return v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max();
}

QLocale FormattingLocale()
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale;
}

} // namespace

bool TryStrToInt(const std::string& s, int& value)
{
    long long v = 0;
    if (!ParseInt64(s, v) || !FitsInt32(v, s))
        return false;
    value = static_cast<int>(static_cast<std::uint32_t>(v));
    return true;
}

int StrToInt(const std::string& s)
{
    int v = 0;
    if (!TryStrToInt(s, v))
        throw EConvertError(Format(SInvalidInteger, s));
    return v;
}

int StrToIntDef(const std::string& s, int defaultValue)
{
    int v = 0;
    return TryStrToInt(s, v) ? v : defaultValue;
}

long long StrToInt64(const std::string& s)
{
    long long v = 0;
    if (!ParseInt64(s, v))
        throw EConvertError(Format(SInvalidInteger, s));
    return v;
}

std::string FloatToStr(double value)
{
    return FormattingLocale().toString(value, 'g', 15).toStdString();
}

bool TryStrToFloat(const std::string& s, double& value)
{
    const QString text = QString::fromStdString(Trim(s));
    bool ok = false;
    double v = FormattingLocale().toDouble(text, &ok);
    if (!ok)
        v = QLocale::c().toDouble(text, &ok);
    if (ok)
        value = v;
    return ok;
}

double StrToFloat(const std::string& s)
{
    double v = 0;
    if (!TryStrToFloat(s, v))
        throw EConvertError(Format(SInvalidFloat, s));
    return v;
}

int MulDiv(int number, int numerator, int denominator)
{
    if (denominator == 0)
        return -1;
    const long long product = static_cast<long long>(number) * numerator;
    long long q = product / denominator;
    const long long r = product % denominator;
    // Round half away from zero.
    if (2 * std::llabs(r) >= std::llabs(static_cast<long long>(denominator)))
        q += ((product < 0) != (denominator < 0)) ? -1 : 1;
    return static_cast<int>(q);
}

// ---------------------------------------------------------------------------
// Dates and times

namespace {

constexpr double MSecsPerDay = 86400000.0;
const QDate& Epoch()
{
    static const QDate epoch(1899, 12, 30);
    return epoch;
}

TDateTime FromQDate(const QDate& d) { return static_cast<double>(Epoch().daysTo(d)); }
TDateTime FromQTime(const QTime& t) { return t.msecsSinceStartOfDay() / MSecsPerDay; }

QDate ToQDate(TDateTime v) { return Epoch().addDays(static_cast<qint64>(std::trunc(v))); }

QTime ToQTime(TDateTime v)
{
    // The fraction's sign is ignored: a time before 1899-12-30 still counts forward.
    double frac = std::fabs(v - std::trunc(v));
    long long ms = std::llround(frac * MSecsPerDay);
    if (ms >= static_cast<long long>(MSecsPerDay))
        ms = static_cast<long long>(MSecsPerDay) - 1;
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms));
}

// The locale's short date format, but with four-digit years so the text round-trips.
QString DateFormat()
{
    QString f = QLocale().dateFormat(QLocale::ShortFormat);
    if (!f.contains(QLatin1String("yyyy")))
        f.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return f;
}

// The locale's time format with seconds and without a time zone.
QString TimeFormat()
{
    QString f = QLocale().timeFormat(QLocale::LongFormat);
    f.remove(QLatin1Char('t'));
    return f.trimmed();
}

// Two-digit years fall within fifty years of the current year.
QDate WindowTwoDigitYear(int twoDigitYear, int month, int day)
{
    const int now = QDate::currentDate().year();
    int year = (now / 100) * 100 + twoDigitYear;
    if (year < now - 50)
        year += 100;
    else if (year >= now + 50)
        year -= 100;
    return QDate(year, month, day);
}

QDate ParseDate(const QString& text)
{
    const QLocale locale;
    for (const QString& f : {DateFormat(), locale.dateFormat(QLocale::ShortFormat),
                             locale.dateFormat(QLocale::LongFormat), QString("yyyy-MM-dd")}) {
        QDate d = locale.toDate(text, f);
        if (d.isValid()) {
            if (!f.contains(QLatin1String("yyyy")) || d.year() < 100)
                d = WindowTwoDigitYear(d.year() % 100, d.month(), d.day());
            return d;
        }
    }
    return QDate();
}

QTime ParseTime(const QString& text)
{
    const QLocale locale;
    for (const QString& f : {TimeFormat(), locale.timeFormat(QLocale::ShortFormat),
                             QString("HH:mm:ss"), QString("H:mm:ss"), QString("H:mm")}) {
        QTime t = locale.toTime(text, f);
        if (t.isValid())
            return t;
    }
    return QTime();
}

} // namespace

TDateTime EncodeDate(int year, int month, int day)
{
    const QDate d(year, month, day);
    if (!d.isValid() || year < 1 || year > 9999)
        throw EConvertError("Invalid argument to date encode");
    return FromQDate(d);
}

TDateTime EncodeTime(int hour, int min, int sec, int msec)
{
    const QTime t(hour, min, sec, msec);
    if (!t.isValid())
        throw EConvertError("Invalid argument to time encode");
    return FromQTime(t);
}

void DecodeDate(TDateTime value, int& year, int& month, int& day)
{
    const QDate d = ToQDate(value);
    year = d.year();
    month = d.month();
    day = d.day();
}

void DecodeTime(TDateTime value, int& hour, int& min, int& sec, int& msec)
{
    const QTime t = ToQTime(value);
    hour = t.hour();
    min = t.minute();
    sec = t.second();
    msec = t.msec();
}

TDateTime Date() { return FromQDate(QDate::currentDate()); }
TDateTime Time() { return FromQTime(QTime::currentTime()); }
TDateTime Now()
{
    const QDateTime now = QDateTime::currentDateTime();
    return FromQDate(now.date()) + FromQTime(now.time());
}

std::string DateToStr(TDateTime value)
{
    return QLocale().toString(ToQDate(value), DateFormat()).toStdString();
}

std::string TimeToStr(TDateTime value)
{
    return QLocale().toString(ToQTime(value), TimeFormat()).toStdString();
}

std::string DateTimeToStr(TDateTime value)
{
    std::string s = DateToStr(value);
    if (value - std::trunc(value) != 0)
        s += " " + TimeToStr(value);
    return s;
}

bool TryStrToDate(const std::string& s, TDateTime& value)
{
    const QDate d = ParseDate(QString::fromStdString(Trim(s)));
    if (!d.isValid())
        return false;
    value = FromQDate(d);
    return true;
}

bool TryStrToTime(const std::string& s, TDateTime& value)
{
    const QTime t = ParseTime(QString::fromStdString(Trim(s)));
    if (!t.isValid())
        return false;
    value = FromQTime(t);
    return true;
}

TDateTime StrToDate(const std::string& s)
{
    TDateTime v = 0;
    if (!TryStrToDate(s, v))
        throw EConvertError(Format(SInvalidDate, s));
    return v;
}

TDateTime StrToTime(const std::string& s)
{
    TDateTime v = 0;
    if (!TryStrToTime(s, v))
        throw EConvertError(Format(SInvalidTime, s));
    return v;
}

TDateTime StrToDateTime(const std::string& s)
{
    const std::string text = Trim(s);
    TDateTime d = 0, t = 0;
    if (TryStrToDate(text, d))
        return d;
    // The date ends where the time begins: try each blank as the split point.
    for (size_t pos = text.find(' '); pos != std::string::npos; pos = text.find(' ', pos + 1)) {
        if (TryStrToDate(text.substr(0, pos), d) && TryStrToTime(text.substr(pos + 1), t))
            return d + (d < 0 ? -t : t);
    }
    if (TryStrToTime(text, t))
        return t;
    throw EConvertError(Format("'%s' is not a valid date and time", s));
}

void Abort() { throw EAbort("Operation aborted"); }
