// TFloatEdit: a single-line edit box for one real number. It takes only the
// characters a number is written with, keeps the value within optional
// bounds, steps it with the arrow keys and rewrites the text in its shortest
// form when the focus leaves. TFloatEdit is a view on a FloatEdit control of a
// form: the text lives in the control, the rest in its FloatEditState.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ui/form.h"

namespace lm::ui {

enum class ArrowKey { Up, Down };

// A real number as typed: blanks around it allowed, an optional sign, digits
// with `decimal_separator` as the decimal point, an optional exponent. Nothing
// when the text is no number or too large for a double.
std::optional<double> ParseReal(std::string_view text, char decimal_separator);
// The shortest general text of a value (up to 15 significant digits, an
// exponent "E" only where needed), with `decimal_separator`.
std::string RealText(double value, char decimal_separator);

// A FloatEdit control as a form's table holds it: text "0", no bounds.
Control MakeFloatEdit(std::string name, Rect bounds, char decimal_separator);

class TFloatEdit {
public:
    explicit TFloatEdit(Control& control) : c_(control), s_(control.number) {}

    // The number shown: DefaultValue when the text is empty. A text that is
    // not a number reads as DefaultValue too and the control asks for the
    // focus back, so that the user corrects it.
    double Value();
    // The text of the bounded value.
    void SetValue(double value);
    double MinValue() const { return s_.min_value; }
    double MaxValue() const { return s_.max_value; }
    double DefaultValue() const { return s_.default_value; }
    bool IncludeBounds() const { return s_.include_bounds; }
    double Increment() const { return s_.increment; }
    // A new bound rewrites the value and the default bounded.
    void SetMinValue(double value);
    void SetMaxValue(double value);
    // A default that bounding would change is refused.
    void SetDefaultValue(double value);
    void SetIncludeBounds(bool include);
    void SetIncrement(double value) { s_.increment = value; }

    // The value as the bounds leave it: within inclusive bounds the nearer
    // bound for a value outside; with bounds excluded the middle of the range
    // for a value on or outside a bound. Equal bounds change nothing.
    double Bound(double value) const;

    // A typed character: true when it goes into the text (control
    // characters, "+", "-", digits, the decimal separator); false when it is
    // discarded and the caller beeps.
    bool KeyPress(char key) const;
    // Up or Down: the value stepped by Increment, bounded. A text that is not
    // a number is not stepped (the control asks for the focus instead).
    void KeyDown(ArrowKey key);
    // The focus leaves: a number is rewritten bounded; an empty text stays.
    // False when the text is not a number: the control keeps the focus.
    bool Exit();

private:
    void Rebound();

    Control& c_;
    FloatEditState& s_;
};

}  // namespace lm::ui
