#include "odds_words.h"

#include "number_text.h"
#include "roll_odds.h"

#include <QCoreApplication>
#include <QStringList>

#include <cmath>

namespace {

constexpr std::size_t totalsNamed = 12;

QString tr(const char* text) {
    return QCoreApplication::translate("OddsWords", text);
}

} // namespace

QString requestText(const RollRequest& request, const RollOptions& options) {
    const std::string words = requestWords(request, options);
    return QString::fromLatin1(words.data(), static_cast<qsizetype>(words.size()));
}

QString oddsSummary(const RollOdds& odds) {
    QString text = tr("Totals %1 to %2, mean %3, standard deviation %4.")
                       .arg(decimalText(odds.lowest), decimalText(odds.highest),
                            decimalText(odds.mean), decimalText(odds.standardDeviation));
    if (!odds.exact)
        text += QLatin1Char(' ') + tr("The chances are approximate: each within 0.0001 %.");
    return text;
}

QString totalsText(const std::vector<double>& totals) {
    QStringList named;
    for (std::size_t i = 0; i < totals.size() && i < totalsNamed; ++i)
        named << decimalText(totals[i]);
    QString text = named.join(QStringLiteral(", "));
    if (totals.size() > totalsNamed)
        text += tr(" and %1 more").arg(totals.size() - totalsNamed);
    return text;
}

QString decimalText(double value) {
    if (std::abs(value) >= 1e15) // no exponent form: every whole digit is shown
        return QString::fromStdString(wholeNumberText(value));
    QString text = QString::number(value, 'f', 3);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}
