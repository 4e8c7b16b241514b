// A library or instance item record as the conversions see it.
#pragma once

#include <span>

#include "base/host_records.h"
#include "values/convertible_item.h"
#include "values/short_real.h"

namespace lm {

class RecordItem : public ConvertibleItem {
public:
    explicit RecordItem(dLM_DATAITEM& item) : item_(item) {}

    std::string_view name() const override { return Text(item_.name); }
    std::uint8_t typ() const override { return item_.typ; }
    std::uint8_t subtyp() const override { return item_.ext ? item_.ext->subtyp : kSubtypNone; }
    std::uint16_t delka() const override { return item_.delka; }
    std::string_view format() const override { return Text(item_.format); }
    std::string_view default_text() const override {
        return item_.ext ? item_.ext->default_value.view() : std::string_view();
    }
    double min() const override {
        return item_.ext ? DecodeShortReal(std::span<const std::uint8_t, 6>(item_.ext->min)) : 0.0;
    }
    double max() const override {
        return item_.ext ? DecodeShortReal(std::span<const std::uint8_t, 6>(item_.ext->max)) : 0.0;
    }
    std::uint32_t attributes() const override { return item_.attributes; }
    void SetValueText(std::string_view text) override {
        if (item_.ext) item_.ext->value.assign(text);
    }

private:
    static std::string_view Text(const char* text) { return text ? text : std::string_view(); }
    dLM_DATAITEM& item_;
};

}  // namespace lm
