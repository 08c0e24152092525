#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "schema/Descriptor.h"
#include "schema/StringTable.h"
#include "tree/ItemFileAccess.h"
#include "tree/Tree.h"

namespace morvane {

// Moves the editor's state into the widgets and back. The window implements it; without a
// window (tests, the command line) the state is all there is and nothing needs moving.
class DataExchange {
public:
    virtual ~DataExchange() = default;
    // true: widgets into the state; false: state into the widgets.
    virtual void UpdateData(bool saveAndValidate) = 0;
};

struct SpinControl {
    std::int16_t lower = 0;
    std::int16_t upper = 100;
    std::int16_t position = 0;
};

struct SliderControl {
    int lower = 0;
    int upper = 100;
    int pageSize = 10;
    int tickFrequency = 10;
    int position = 0;
};

struct ComboControl {
    std::vector<std::string> entries;
    int selection = -1;  // -1: none; the text is then the member's own
};

struct ListControl {
    std::vector<std::string> entries;
    std::vector<bool> selected;
    // The names of the value the list has no entry for ("mybld", " dome"), kept as written and
    // written back after the selected ones.
    std::vector<std::string> kept;
};

// The value editor: shows the selected key in controls made for its kind and turns the controls
// back into rules-file text. Its state is what the window's widgets show; the window only binds
// widgets to it (see DataExchange).
class ValueEditor {
public:
    ValueEditor(Tree& tree, const StringTable& table, ItemFileAccess& rules);

    void SetDataExchange(DataExchange* exchange) { m_exchange = exchange; }
    // The value the game plays for a key the file leaves out, when files read before it (a
    // file edited as a layer over the rules file) give it one; nothing: the key's default.
    using ValueBeneath = std::function<std::optional<std::string>(TreeItem item)>;
    // The controls of such a key start from that value, so that an edit starts from what the
    // game plays; Default still writes the key's own default.
    void SetValueBeneath(ValueBeneath valueBeneath) { m_valueBeneath = std::move(valueBeneath); }

    // Selection: hides every control, then shows and fills those the item's descriptor asks for.
    void OnSelchangedTree(TreeItem item);
    std::string GetItemPath(TreeItem item) const;

    // Tracking: the number beside a moved slider or clicked spin follows it.
    void OnHScroll(int controlId);
    void OnVScroll(int controlId, int position);
    // A click on a spin: steps the number in its edit by `delta` within the spin's range.
    void StepSpin(int controlId, int delta);

    // Apply, Default and Match All In Section. Apply and Default return whether they wrote the
    // file; Default then shows the default it wrote, or takes the key out of the file when it
    // has no default. Match All does what MatchAllPlan.h describes, without asking.
    bool OnApply();
    bool OnDefault();
    void OnMatchAllInSection();

    // Whether the controls hold a value other than the one the shown key has.
    bool HasPendingEdit();

    // Why the value the controls hold is not one the shown key takes (see InputCheck.h), for
    // the window to show and to ask about before Apply writes it; empty when it is fine or
    // no key is shown.
    std::string InputProblem();

    // The exchanged members: the texts of the controls.
    std::string m_strValue;
    std::string m_strList;
    std::string m_strHelp;
    std::string m_strPath;
    std::string m_strDefault;
    std::string m_strPercent;
    int m_bCheck = 0;
    std::string m_strVsNone;
    std::string m_strVsWood;
    std::string m_strVsLight;
    std::string m_strVsHeavy;
    std::string m_strVsConcrete;
    std::string m_strChance;
    std::string m_strAnimation;
    std::string m_strOption;
    std::string m_strOptionLabel = "Option";
    // What the game makes of the shown key's line of the file, in words.
    std::string m_strGameReads;

    // What the last selection set up.
    KeyKind m_kind = KeyKind::None;
    std::string m_strType;  // the descriptor's letter, for showing
    TreeItem m_hCurItem = kNoItem;
    int m_nIconId = 0;

    // The state of the controls the members do not carry.
    std::set<int> m_visible;  // ids of the shown value controls (and the shown picture)
    bool m_bApplyEnabled = false;
    bool m_bDefaultEnabled = false;
    bool m_bMatchAllEnabled = true;
    std::string m_strMatchAllRefusal;  // why Match All is greyed out, when it is
    std::string m_strCheckCaption;
    SpinControl m_valueSpin;
    SpinControl m_chanceSpin;
    SliderControl m_percentSlider;
    std::array<SliderControl, 5> m_versesSliders;
    ComboControl m_listCombo;
    ComboControl m_animationCombo;
    ListControl m_multiList;

    bool IsVisible(int controlId) const { return m_visible.count(controlId) != 0; }
    std::string* VersesMember(std::size_t column);
    const std::string& VersesValue(std::size_t column) const;

private:
    void Show(std::initializer_list<int> controlIds);
    void ExchangeToControls();
    void ExchangeFromControls();
    void SetUpInteger(const Descriptor& descriptor, const std::string& value, bool absent);
    void SetUpReal(const Descriptor& descriptor, const std::string& value, bool absent);
    void SetUpCheck(const Descriptor& descriptor, TreeItem item, const std::string& value, bool absent);
    void SetUpPercent(const Descriptor& descriptor, const std::string& value, bool absent);
    void SetUpCratePowerup(const Descriptor& descriptor, const std::string& value, bool absent);
    void SetUpVerses(const Descriptor& descriptor, const std::string& value, bool absent);
    void SetUpList(const Descriptor& descriptor, const std::string& value, bool absent);
    void SetUpMultiList(const Descriptor& descriptor, const std::string& value, bool absent);
    std::vector<std::string> ListChoices(const Descriptor& descriptor, bool cutAtBar) const;
    // The value Apply would give the shown key from the controls as they are: nothing when
    // they hold no value (a many-of-list with nothing selected and nothing kept: the key leaves
    // the file), and the key's own value when no value kind is shown.
    std::optional<std::string> ComposeValue() const;
    // Sets the item's value and writes it; puts the old value back when the write fails.
    // Returns whether the write succeeded.
    bool WriteValue(TreeItem item, std::optional<std::string> value);
    // Sets m_strGameReads from the file as it is now.
    void UpdateGameReads(TreeItem item);

    Tree& m_tree;
    const StringTable& m_table;
    ItemFileAccess& m_rules;
    DataExchange* m_exchange = nullptr;
    ValueBeneath m_valueBeneath;
    std::optional<std::string> m_shownValue;  // ComposeValue() right after the selection or the last Apply
};

}  // namespace morvane
