// The log reader and the fairness check on arbitrary bytes: a regular file always reads, the
// verdict stays within its bounds, and a genuine record appended after any bytes, as the roller
// appends it, is always found whole: nothing a crash or a hand edit left in the log spoils the
// records that follow.
#include "fairness.h"
#include "log_totals.h"
#include "random_source.h"
#include "roll_dice.h"
#include "roll_log.h"
#include "roll_odds.h"
#include "roll_request.h"

#include <QFile>
#include <QTemporaryDir>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

// Requests of either path: one die, several, none, with and without the add amount.
constexpr std::array<std::array<const char*, 2>, 6> requests{
    {{"3d6", ""}, {"1d20+1", "+2"}, {"4d6", ""}, {"d6", "-1"}, {"3D8-1", ""}, {"10d4", "5"}}};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir folder;
    static const QString log = folder.filePath(QStringLiteral("rolllog.txt"));
    if (size < 3)
        return 0;
    const auto& [formula, add] = requests[data[0] % requests.size()];
    const RollOptions options{(data[1] & 1) != 0, (data[1] & 2) != 0, (data[1] & 4) != 0,
                              (data[1] & 8) != 0};
    const std::string times = std::to_string(data[2] % 4 + 1);
    const RollRequestResult formed = readRollRequest({formula, add, times});
    check(formed.ending == RollEnding::Formed);

    {
        QFile file(log);
        check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        check(file.write(reinterpret_cast<const char*>(data + 3), static_cast<qint64>(size - 3)) ==
              static_cast<qint64>(size - 3));
    }
    const LogReadResult before = readLoggedRolls(log, formed.request, options);
    check(before.ok);
    check(before.rolls.totals.size() >= before.rolls.records);

    static std::array<RollOdds, requests.size() * 16> odds;
    RollOdds& these = odds[(data[0] % requests.size()) * 16 + (data[1] & 15)];
    if (these.probabilities.empty())
        these = rollOdds({formula, add, "1"}, options);
    const FairnessVerdict verdict = judgeFairness(these, before.rolls);
    check(verdict.rolls == before.rolls.totals.size());
    check(verdict.pValue >= 0 && verdict.pValue <= 1);
    check(!verdict.text.empty());

    Generator dice(size);
    RollRecord record;
    rollDice(formed.request, options, dice, record);
    check(!appendRollLog(log, record.text()));
    const LogReadResult after = readLoggedRolls(log, formed.request, options);
    check(after.ok);
    const std::vector<double>& rolled = record.totals();
    check(after.rolls.records == before.rolls.records + 1);
    check(after.rolls.totals.size() == before.rolls.totals.size() + rolled.size());
    check(std::equal(rolled.begin(), rolled.end(), after.rolls.totals.end() - rolled.size()));
    return 0;
}
