#pragma once

namespace velk {

// A check box whose mark is only read and written; no handler is ever bound to it.
class CheckBox {
public:
    virtual ~CheckBox() = default;
    virtual bool isChecked() const = 0;
    virtual void setChecked(bool checked) = 0;
};

} // namespace velk
