#include "editor/check_answer.h"

#include <cstdio>

std::string CheckAnswerText(const SolverAnswer& a) {
    auto n = [](long long v) { return std::to_string(v); };
    if (a.randomPairs)
        return "ランダムなブロックのミッション（種類 " + n(a.goalType) + "）は調べられません。";
    std::string text;
    if (!a.clearable && !a.decided) {
        text = "この " + n(a.pairs) + " 組のブロックでクリアできるかは、調べる範囲では決まりませんでした。";
    } else if (!a.clearable) {
        text = "この " + n(a.pairs) + " 組のブロックではクリアできません。";
    } else {
        text = "この " + n(a.pairs) + " 組のブロックでクリアできます。\n";
        text += "最短: " + (a.shortest >= 0 ? n(a.shortest) + " 組でクリア" : std::string("不明")) + "\n";
        text += "クリアの手順: " + std::string(a.waysAtLeast ? "少なくとも " : "") + n(a.ways) + " 通り";
    }
    text += "\n難しさ: ";
    if (a.hasDifficulty) {
        char figure[32];
        std::snprintf(figure, sizeof figure, "%.2f", a.difficulty);
        text += figure;
    } else {
        text += "―";
    }
    return text;
}
