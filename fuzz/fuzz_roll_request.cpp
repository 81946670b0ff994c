// Arbitrary formula, add and count texts with option flags through readRollRequest and, when a
// request is formed and small enough, rollDice. Every ending must be one of the four, and every
// record line one of the documented kinds, never "inf" or "nan".
#include "fuzz_checks.h"
#include "roll_dice.h"
#include "roll_request.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

// Draws from the input's own bytes, then from a fixed sequence, so that runs are repeatable.
class BytesSource final : public RandomSource {
public:
    explicit BytesSource(std::string_view bytes) : bytes_(bytes) {}
    float next() override {
        std::uint32_t bits = 0x9e3779b9u * ++count_;
        if (!bytes_.empty())
            bits ^= static_cast<std::uint8_t>(bytes_[count_ % bytes_.size()]) << 16;
        return static_cast<float>(bits >> 8) * 0x1p-24f;
    }

private:
    std::string_view bytes_;
    std::uint32_t count_ = 0;
};

void check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::uint8_t flags = data[0];
    std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);

    // The three texts are separated by NUL bytes.
    RollInputs inputs;
    std::string* fields[] = {&inputs.formula, &inputs.addText, &inputs.timesText};
    for (std::string* field : fields) {
        const std::size_t cut = rest.find('\0');
        field->assign(rest.substr(0, cut));
        rest.remove_prefix(cut == std::string_view::npos ? rest.size() : cut + 1);
    }

    const RollRequestResult result = readRollRequest(inputs);
    switch (result.ending) {
    case RollEnding::Silent:
    case RollEnding::AtLimit:
        return 0;
    case RollEnding::Refused:
        check(result.message == formulaMessage || result.message == addMessage ||
              result.message == timesMessage);
        return 0;
    case RollEnding::Formed:
        break;
    }

    const RollRequest& request = result.request;
    check(request.count >= 0 && request.count <= rollLimit);
    check(request.times >= 1 && request.times <= rollLimit);
    check(request.sides != 1 && request.sides <= rollLimit);
    if (request.count * request.times > 2000)
        return 0;

    const RollOptions options{(flags & 1) != 0, (flags & 2) != 0, (flags & 4) != 0,
                              (flags & 8) != 0};
    BytesSource random(rest);
    RollRecord record;
    rollDice(request, options, random, record);

    std::string_view text = record.text();
    check(text.ends_with("\r\n"));
    while (!text.empty()) {
        const std::size_t end = text.find("\r\n");
        check(end != std::string_view::npos);
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 2);
        check(line.find('\n') == std::string_view::npos);
        check(fuzzcheck::isRecordLine(line));
        if (!line.starts_with("Rolled: ")) {
            check(line.find("inf") == std::string_view::npos);
            check(line.find("nan") == std::string_view::npos);
        }
    }
    return 0;
}
