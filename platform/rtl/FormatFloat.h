#pragma once
// The toolkit's number pictures:
//   0  digit, always shown          #  digit, shown when significant
//   .  decimal point (the first)    ,  thousands separators on
//   E+ E- e+ e-  scientific, followed by up to four 0 (minimum exponent
//                digits; # accepted as optional)
//   "text" 'text'  literal           any other character is literal ('%'
//                                    just prints; no scaling)
// Up to three ';'-separated sections: positive;negative;zero. A negative
// value with its own section prints without a minus sign; a value that
// rounds to zero takes the zero section. Rounding is half away from zero on
// the value's 15 significant digits. An empty picture gives FloatToStr.
#include <memory>
#include <string>
#include <string_view>

namespace cb::rtl {

std::string FormatFloat(std::string_view Format, double Value);

// The same for the measure formats an OLAP cube stores: the named formats
// "General Number", "Currency", "Fixed", "Standard", "Percent",
// "Scientific", "Yes/No", "True/False", "On/Off" (any case), else a picture
// in which '%' multiplies by 100, '\' quotes the next character, and commas
// right before the decimal point (or the end of the digits) divide by 1000.
// An empty format gives the plain number.
std::string FormatMeasureValue(std::string_view FormatString, double Value);

struct TCompiledPicture;

// A measure format parsed once, for formatting many values the same way
// FormatMeasureValue does. Copies share the parsed picture.
class TMeasureFormat {
public:
    explicit TMeasureFormat(std::string_view FormatString = {});
    std::string Format(double Value) const;

private:
    enum class Kind {
        Plain,
        Choice,
        Picture
    };
    Kind FKind = Kind::Plain;
    std::string FYes, FNo;
    std::shared_ptr<const TCompiledPicture> FPicture;
};

}  // namespace cb::rtl
