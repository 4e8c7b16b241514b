// An item and a log for the conversion tests.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/log_sink.h"
#include "tests/unit/values/conversion_cases.h"
#include "values/convertible_item.h"

namespace lm::test {

class ConversionTestItem : public ConvertibleItem {
public:
    explicit ConversionTestItem(const ItemFacts& facts)
        : facts_(facts), value_(facts.default_text) {}

    std::string_view name() const override { return facts_.name; }
    std::uint8_t typ() const override { return facts_.typ; }
    std::uint8_t subtyp() const override { return facts_.subtyp; }
    std::uint16_t delka() const override { return facts_.delka; }
    std::string_view format() const override { return facts_.format; }
    std::string_view default_text() const override { return facts_.default_text; }
    double min() const override { return facts_.min; }
    double max() const override { return facts_.max; }
    std::uint32_t attributes() const override { return facts_.attributes; }
    void SetValueText(std::string_view text) override { value_ = text; }

    const std::string& value() const { return value_; }

private:
    ItemFacts facts_;
    std::string value_;
};

class ConversionLog : public LogSink {
public:
    bool enabled() const override { return true; }
    void Write(std::string_view message) override { lines.emplace_back(message.substr(0, 255)); }

    // Empty when the `expected` lines appear in this order; otherwise a
    // message naming the first one missing.
    std::string MissingFrom(const std::vector<std::string_view>& expected) const {
        std::size_t at = 0;
        for (std::string_view line : expected) {
            while (at < lines.size() && lines[at] != line) ++at;
            if (at == lines.size())
                return "log line missing or out of order: \"" + std::string(line) + "\"";
            ++at;
        }
        return {};
    }

    std::vector<std::string> lines;
};

}  // namespace lm::test
