#include "model/number_reading.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace tarvelo {
namespace {

// Blanks, tabs and line feeds do not count anywhere in a field; every other character does.
constexpr bool IsIgnored(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

constexpr bool IsDigit(int c) {
    return c >= '0' && c <= '9';
}

// Walks the text skipping the ignored characters. peek() gives -1 at the end.
class Cursor {
  public:
    explicit Cursor(std::string_view text) : text_(text) {}

    int Peek() {
        while (pos_ < text_.size() && IsIgnored(text_[pos_]))
            ++pos_;
        return pos_ < text_.size() ? static_cast<unsigned char>(text_[pos_]) : -1;
    }
    void Advance() { ++pos_; }
    std::size_t Position() const { return pos_; }
    void Rewind(std::size_t pos) { pos_ = pos; }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// "&H1F" and "&O17": the digits as an unsigned integer. There is no sign and no 16-bit
// wrap-around: "&HFFFF" is 65535. The first character that is not a digit of the base ends the
// number; no digits give 0; a long digit string grows to infinity.
double ReadBasedInteger(Cursor& cursor, int base) {
    double value = 0.0;
    for (;;) {
        const int c = cursor.Peek();
        int digit = -1;
        if (IsDigit(c)) {
            digit = c - '0';
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        }
        if (digit < 0 || digit >= base) break;
        value = value * base + digit;
        cursor.Advance();
    }
    return value;
}

// Significant digits handed to the conversion. Rounding a decimal to the nearest double never
// needs more than about 770 of them; the digits beyond are summarised by one sticky digit.
constexpr int kKeptDigits = 800;

// A typed exponent stops growing here: no text is long enough for its digits to bring such an
// exponent back into the range of a double, and the arithmetic stays far from integer overflow.
constexpr std::int64_t kExponentClamp = 100000000000000000;  // 1e17

double ReadDecimal(Cursor& cursor) {
    bool negative = false;
    if (cursor.Peek() == '+' || cursor.Peek() == '-') {
        negative = cursor.Peek() == '-';
        cursor.Advance();
    }

    // Mantissa: significant digits (leading zeros dropped) and the decimal exponent of the first
    // of them, so that value = 0.d1d2d3... * 10^pointExponent.
    std::array<char, kKeptDigits + 1> digits{};
    int kept = 0;
    bool droppedNonZero = false;
    bool anyDigit = false;
    bool afterPoint = false;
    std::int64_t pointExponent = 0;
    for (;;) {
        const int c = cursor.Peek();
        if (c == '.' && !afterPoint) {
            afterPoint = true;
            cursor.Advance();
            continue;
        }
        if (!IsDigit(c)) break;
        cursor.Advance();
        anyDigit = true;
        if (kept == 0 && c == '0') {
            if (afterPoint) --pointExponent;
            continue;
        }
        if (!afterPoint) ++pointExponent;
        if (kept < kKeptDigits) {
            digits[kept++] = static_cast<char>(c);
        } else if (c != '0') {
            droppedNonZero = true;
        }
    }
    if (!anyDigit || kept == 0) return 0.0;  // non-numeric, or a zero

    // Exponent: E or D, optional sign, at least one digit; otherwise the letter ends the number.
    std::int64_t exponent = 0;
    const int letter = cursor.Peek();
    if (letter == 'E' || letter == 'e' || letter == 'D' || letter == 'd') {
        const std::size_t mark = cursor.Position();
        cursor.Advance();
        bool exponentNegative = false;
        if (cursor.Peek() == '+' || cursor.Peek() == '-') {
            exponentNegative = cursor.Peek() == '-';
            cursor.Advance();
        }
        if (IsDigit(cursor.Peek())) {
            while (IsDigit(cursor.Peek())) {
                if (exponent < kExponentClamp) exponent = exponent * 10 + (cursor.Peek() - '0');
                cursor.Advance();
            }
            if (exponentNegative) exponent = -exponent;
        } else {
            cursor.Rewind(mark);
        }
    }

    const std::int64_t decimalExponent = pointExponent + exponent;
    double magnitude = 0.0;
    if (decimalExponent > 400) {
        magnitude = std::numeric_limits<double>::infinity();
    } else if (decimalExponent >= -400) {
        // "<digits>e<exponent>" with a whole mantissa in a fixed buffer. Without a decimal point
        // nothing depends on the locale, and strtod rounds to the nearest double in every C
        // library, so the native and the browser builds read the same number.
        std::array<char, kKeptDigits + 32> buffer{};
        std::size_t n = 0;
        for (int i = 0; i < kept; ++i)
            buffer[n++] = digits[i];
        if (droppedNonZero) buffer[n++] = '1';
        const auto mantissaDigits = static_cast<std::int64_t>(n);
        buffer[n++] = 'e';
        std::to_chars(buffer.data() + n, buffer.data() + buffer.size() - 1,
                      static_cast<long long>(decimalExponent - mantissaDigits));
        // Overflow gives infinity and underflow zero or a subnormal, as the range rules want.
        magnitude = std::strtod(buffer.data(), nullptr);
    }
    if (magnitude == 0.0) return 0.0;  // no negative zero
    return negative ? -magnitude : magnitude;
}

}  // namespace

double ReadNumber(std::string_view text) {
    Cursor cursor(text);
    if (cursor.Peek() == '&') {
        cursor.Advance();
        const int kind = cursor.Peek();
        cursor.Advance();
        if (kind == 'H' || kind == 'h') return ReadBasedInteger(cursor, 16);
        if (kind == 'O' || kind == 'o') return ReadBasedInteger(cursor, 8);
        return 0.0;
    }
    return ReadDecimal(cursor);
}

CountValue RoundToCount(double value) {
    CountValue count;
    if (!std::isfinite(value)) {
        count.overflow = true;
        return count;
    }
    // Nearest integer, halves to the even neighbour, whatever the floating-point rounding mode.
    // The fractional part value - trunc(value) is exact in binary.
    const double whole = std::trunc(value);
    const double fraction = value - whole;
    double rounded = 0.0;
    if (std::fabs(fraction) == 0.5) {
        rounded = std::fmod(whole, 2.0) == 0.0 ? whole : whole + (fraction > 0.0 ? 1.0 : -1.0);
    } else {
        rounded = std::round(value);
    }
    if (rounded < -32768.0 || rounded > 32767.0) {
        count.overflow = true;
        return count;
    }
    count.value = static_cast<std::int16_t>(rounded);
    return count;
}

CountValue ReadCount(std::string_view text) {
    return RoundToCount(ReadNumber(text));
}

}  // namespace tarvelo
