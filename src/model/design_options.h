#pragma once
// The design options: one row for each field of BoxParameters a user sets, with everything the panel,
// the settings, projects, the command line, validation and the undo history know of it. A new option
// is a row in design_options.cpp and its member (with its default) in BoxParameters.
#include "model/box_parameters.h"

#include <cstdint>
#include <span>
#include <type_traits>

enum class OptionKind {
    Length,  // millimetres
    Count,   // a whole number
    Flag,    // on or off
    Choice,  // one of an enum's two values: named in projects, a flag in settings and on the panel
    Size,    // two lengths, width then height (mm), or none (both 0); [w, h] in settings and projects
};

// A limit the validation holds a value to, and what it refuses a design with beyond it.
struct OptionBound {
    enum Test { None, Above, AtLeast, AtMost };
    Test test = None;
    double limit = 0;
    const char* message = nullptr;  // fixed Spanish ASCII
};

// What validation asks of a value, in the order it asks: every minimum (those of the box's shape
// first, then its joints are checked), then, after the reach of every length, every floor and
// every maximum.
struct OptionRules {
    OptionBound minimum{};
    OptionBound floor{};  // a second, finer minimum told apart from the first
    OptionBound maximum{};
    bool shapesBox = false;   // its minimum is checked before the walls' proportions
    bool routerOnly = false;  // checked only in router mode
};

// How a value read from settings.json is repaired before the panel shows it.
struct StoredRepair {
    enum Rule {
        None,
        Positive,     // not above 0: the default
        NonNegative,  // below 0: the fallback
        Clamp,        // held to low..high
        InRange,      // outside low..high: the default
        SizeOrNone,   // a size: both lengths positive and within reach, else none
    };
    Rule rule = None;
    double low = 0;
    double high = 0;
    double fallback = 0;
};

// The option on the panel: its control, the text keys of its label (a length's label names the unit
// after it; a flag's is its check box) and tooltip, and for counts the range shown.
struct PanelOption {
    int controlId = 0;
    const wchar_t* labelKey = nullptr;
    const wchar_t* tooltipKey = nullptr;
    int32_t listedLow = 0;   // counts: the items of the list
    int32_t listedHigh = 0;
    int32_t shownHigh = 0;   // counts: a loaded design is shown held to listedLow..shownHigh
    bool laserOnly = false;  // disabled while the router mode is on
};

// An option's value as a number: a length, a count, 0 or 1 for a flag, a choice's index (0 or 1).
struct OptionAccess {
    double (*get)(const BoxParameters&);
    void (*set)(BoxParameters&, double);
};

struct DesignOption {
    OptionKind kind;
    OptionAccess access;  // a size's width
    OptionAccess second{};  // a size's height
    const char* projectKey;
    const char* choiceNames[2] = {};  // Choice: the project's names of index 0 and 1
    const char* settingsKey;
    int settingsPlace;  // the order of the settings file's design members
    StoredRepair repair{};
    OptionRules rules{};
    const char* cliFlag;  // a flag or choice is a switch that sets it opposite to its default
    const char* cliHelp;
    int cliPlace;  // the order of the usage text
    PanelOption panel;
    bool writtenWhenChanged = false;  // held by settings and projects only when not the default, so older files stay
};

// Whether settings and projects write the option's member for this design.
bool isWritten(const DesignOption& option, const BoxParameters& design);

// Whether two designs hold the same value of the option (both lengths of a size).
bool sameValue(const DesignOption& option, const BoxParameters& a, const BoxParameters& b);

// Every design option, in the order of the project file's members.
std::span<const DesignOption> designOptions();

// The row of a project key; null when there is none.
const DesignOption* findDesignOption(const char* projectKey);

template <auto Member>
double optionValue(const BoxParameters& design) {
    using Value = std::remove_cvref_t<decltype(design.*Member)>;
    if constexpr (std::is_enum_v<Value>) return static_cast<double>(static_cast<int32_t>(design.*Member));
    else return static_cast<double>(design.*Member);
}

template <auto Member>
void setOptionValue(BoxParameters& design, double value) {
    using Value = std::remove_cvref_t<decltype(design.*Member)>;
    if constexpr (std::is_same_v<Value, double>) design.*Member = value;
    else if constexpr (std::is_same_v<Value, bool>) design.*Member = value != 0;
    else if constexpr (std::is_enum_v<Value>) design.*Member = static_cast<Value>(value != 0);
    else design.*Member = static_cast<Value>(value);  // counts: callers hand in whole numbers in range
}

template <auto Member>
inline constexpr OptionAccess accessOf{optionValue<Member>, setOptionValue<Member>};
