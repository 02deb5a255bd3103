#include "app/length_text.h"

#include "settings/number_text.h"
#include "settings/text_encoding.h"

std::wstring lengthText(double valueMm, bool inches) {
    const double shown = inches ? valueMm / kMillimetresPerInch : valueMm;
    return widenBytes(formatTrimmedFixed(shown, 4, NegativeZero::AsZero));
}

std::wstring planSizeText(const PlanExtent& plan, bool inches) {
    return lengthText(plan.width(), inches) + L" x " + lengthText(plan.height(), inches) + (inches ? L" in" : L" mm");
}
