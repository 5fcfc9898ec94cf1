#include "editor/check_answer.h"

#include <algorithm>

#include <QCoreApplication>

QString CheckAnswerText(const SolverAnswer& a) {
    if (a.randomPairs) return QCoreApplication::translate("CheckAnswer", "A mission of random blocks (goal type %1) cannot be checked.").arg(a.goalType);
    QString text;
    if (!a.clearable && !a.decided) {
        text = a.outOfTime ? QCoreApplication::translate("CheckAnswer", "Whether these %n pairs can clear the mission could not be decided within the time.", nullptr, a.pairs)
                           : QCoreApplication::translate("CheckAnswer", "Whether these %n pairs can clear the mission could not be decided within the search.", nullptr, a.pairs);
    } else if (!a.clearable) {
        text = QCoreApplication::translate("CheckAnswer", "These %n pairs cannot clear the mission.", nullptr, a.pairs);
    } else {
        text = QCoreApplication::translate("CheckAnswer", "These %n pairs can clear the mission.", nullptr, a.pairs) + QLatin1Char('\n');
        text += QCoreApplication::translate("CheckAnswer", "Shortest: %1").arg(a.shortest >= 0 ? QCoreApplication::translate("CheckAnswer", "cleared with %n pairs", nullptr, a.shortest) : QCoreApplication::translate("CheckAnswer", "unknown")) +
                QLatin1Char('\n');
        // A clearable mission has at least the way that was found, even when
        // the count was cut before it got there.
        if (a.waysAtLeast)
            text += QCoreApplication::translate("CheckAnswer", "Ways to clear: at least %1").arg(std::max(a.ways, 1LL));
        else
            text += QCoreApplication::translate("CheckAnswer", "Ways to clear: %1").arg(a.ways);
    }
    text += QLatin1Char('\n') + QCoreApplication::translate("CheckAnswer", "Difficulty: %1").arg(a.hasDifficulty ? QString::number(a.difficulty, 'f', 2)
                                                                         : QStringLiteral("―"));
    if (a.positions > 0) text += QLatin1Char('\n') + QCoreApplication::translate("CheckAnswer", "Positions searched: %1").arg(a.positions);
    return text;
}

QString CheckProgressText(long long positions, double seconds) {
    int form = int(std::min<long long>(positions, INT32_MAX));  // chooses the plural form only
    return QCoreApplication::translate("CheckAnswer", "Checking: %1 positions, %2 s", nullptr, form)
        .arg(positions)
        .arg(seconds, 0, 'f', 1);
}

QString AnswerOutdatedNote() {
    return QCoreApplication::translate("CheckAnswer", "The mission has changed since the check began; this answer is for the mission as it was then.");
}
