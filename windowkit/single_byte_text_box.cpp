#include "single_byte_text_box.h"

#include <QLineEdit>
#include <QValidator>

#include <algorithm>

namespace {

class Latin1Validator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int&) const override {
        const bool singleByte =
            std::all_of(input.cbegin(), input.cend(), [](QChar c) { return c.unicode() <= 0xff; });
        return singleByte ? Acceptable : Invalid;
    }
};

} // namespace

void acceptLatin1Only(QLineEdit* box) {
    box->setValidator(new Latin1Validator(box));
}
