// The temporary-indicator editor without its window: the 100 slots of tmplist.ind, the form of
// the current slot (code, title, formula type and the fields of the type's parameter page), the
// rules of New (Insert), Change (Save current item) and Delete with their validation, and
// "Save list", which rewrites tmplist.ind atomically and makes the program read the new
// definitions. The Qt window (indicators/qt/CTempIndSetup) and `zorexport temp` both run it.
//
// Slot s holds the temporary indicator with code 10000 + s. A slot is empty when Delete wrote
// operation -1 into it or its name begins with "*" (the file's own empty marker: a new file has
// name "*" and operation 0 in every slot); every other slot is defined, also one with an
// operation outside 1..7, which is shown without a type.
#pragma once

#include "core/Catalogue.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zor {
class DataStore;
class Selection;
} // namespace zor

namespace zor::indicators {

// The formula types (the operation of a definition).
enum FormulaType : int {
    NoType = 0,
    Ratio = 1,          // C * (I1 / I2)
    Product = 2,        // C * (I1 * I2)
    Sum = 3,            // I1 + I2
    Difference = 4,     // I1 - I2
    Change = 5,         // I(y) - I(y-1)
    RelativeChange = 6, // C * ((I(y) - I(y-1)) / I(y-1))
    MovingAverage = 7,  // the mean over "per N years" around the year
};
inline constexpr int FormulaTypeCount = 7;
// The coefficient a new definition starts with.
inline constexpr float DefaultCoefficient = 100.0f;
// The widest moving-average window the editor accepts (years).
inline constexpr int MaxAverageYears = 99;
// String id of the moving average's caption in the type list ("Moving average").
inline constexpr int MovingAverageTextId = 10155;

// The parameter page of a type and the fields it shows besides I1 (or I).
struct TypePage {
    int dialog = 0;           // 1..5: types 1 and 2 share page 1, types 3 and 4 page 2
    bool second = false;      // I2
    bool coefficient = false; // C
    bool years = false;       // "per N years"
};
// The page of a type 1..7; a page with dialog 0 for anything else.
TypePage PageOf(int type);
bool IsFormulaType(int type);

// The formula of a type as text ("C * (I1 / I2)"); "" for anything else.
const char* FormulaText(int type);

bool IsEmptySlot(const TempIndicatorDef& def);
// What Delete leaves in a slot: name "*", operation, operands and spare -1, parameters 0.
void MakeEmpty(TempIndicatorDef& def);

// "%4.4d" of a code.
std::string CodeText(int code);
// The leading integer of a text after blanks ("1010 GDP" gives 1010); none when the text does
// not begin with digits (an optional sign before them).
std::optional<int> LeadingInteger(std::string_view text);

// The name of an indicator or variant of the main groups (0..9) with this code, reading the
// group's indicators when they are not read yet; none when the catalogue has no such code.
std::optional<std::string> StoredIndicatorName(DataStore& store, int code);

// The operands a new definition starts with (D1 and D2): the first indicator of the first main
// group that has indicators, and its second indicator, else the first variant of its first
// indicator, else the first indicator of the next group that has any. Without any group: 0 and
// 10; without a second candidate D2 = D1.
struct DefaultOperands {
    int first = 0;
    int second = 10;
};
DefaultOperands FindDefaultOperands(DataStore& store);

// The texts of the form of one slot, as the user sees and types them (UTF-8). The fields are
// shared by the seven pages; each page shows the ones its type needs.
struct TempForm {
    std::string code;        // "Code:" (read-only)
    std::string title;       // "Title:"
    int type = NoType;       // the chosen formula type; NoType: none chosen, no page shown
    std::string first;       // "I1:" / "I:" ("%4.4d %s", or "%4.4d" of the stored operand)
    std::string second;      // "I2:"
    std::string coefficient; // "C:"
    std::string years;       // "per ... years"

    bool titleEnabled = false;
    bool typeEnabled = false;
    bool saveItemEnabled = false;
    bool insertEnabled = false;
    bool deleteEnabled = false;
};

// A definition typed into a form, checked and stored into a slot. Returns an error message in
// UTF-8 ("" when it was stored); nothing is stored on an error. The title is encoded into the
// code page of the configured charset and cut to `nameLength` bytes; operands must be indicators or
// variants of the catalogue's main groups (a temporary indicator cannot be an operand: its values
// are computed, never read); C must be a number and the years a whole number from 1 to 99. Only the
// fields of the type's page are stored: I1 always, I2 for types 1 to 4, C for types 1, 2 and 6,
// the years for type 7.
std::string StoreForm(const TempForm& form, TempIndicatorDef& def, DataStore& store,
                      int nameLength);

// Replaces a file atomically; the default is WriteFileAtomic. Tests stand in a failing one.
using FileWriter = std::function<bool(const std::string& path, std::string_view bytes)>;

// The editor of the slots.
class TempEditor {
public:
    // Root of the tree: no slot current.
    static constexpr int Root = -1;

    explicit TempEditor(DataStore& store);

    // Reads the list; false (and the editor stays closed) when the file cannot be read or is
    // not a temporary-indicator list (magic "TIF", 100 whole slots).
    bool Open(const std::string& path);
    bool OpenBytes(std::string_view bytes);
    const std::string& Path() const { return path_; }

    const std::vector<TempIndicatorDef>& Slots() const { return slots_; }
    int NameLength() const { return nameLength_; }
    // The tree's text of a slot: "%d %s" of code and name (the name decoded to UTF-8).
    std::string ItemText(int slot) const;
    // The slot to select when the window opens: the first defined one, else slot 0.
    int InitialSlot() const;
    int DefinedCount() const;

    int Current() const { return current_; }
    const TempForm& Form() const { return form_; }
    // Whether the form holds typed changes not yet stored into the slot.
    bool FormChanged() const { return changed_; }

    // Makes a slot (or Root) current. The slot left is stored first (Save current item); when
    // that fails the current slot stays and the message is returned. "" when it moved.
    std::string Select(int slot);

    // Typing into the form.
    void SetTitle(std::string text);
    void SetType(int type); // shows the type's page
    void SetFirst(std::string text);
    void SetSecond(std::string text);
    void SetCoefficient(std::string text);
    void SetYears(std::string text);

    // Insert on an empty slot: name = the code, type 1, operands 0 and C 100 in the slot; the
    // form shows them with I1 = D1 and I2 = D2 (stored by Save current item).
    bool Insert();
    // Delete: the slot becomes empty at once.
    bool Delete();
    // Save current item: stores the form into the current slot when it was changed. "" or the
    // message of the first field that is wrong.
    std::string SaveCurrentItem();

    // The file's bytes for the current slots: the name length of the file read, the count of
    // defined slots and all 100 slots.
    std::string ListBytes() const;

    // Save list: Save current item, then the whole list replaces the file atomically; then the
    // temporary indicators leave `selection` (when given) and the catalogue reads group 10 anew.
    // "" on success; a message when the form is wrong or the file could not be written (the
    // file, the selection and the catalogue are then unchanged).
    std::string SaveList(Selection* selection, const FileWriter& writer = {});

private:
    void FillForm();
    void ShowEmpty(bool slot);

    DataStore& store_;
    std::string path_;
    int nameLength_ = 128;
    std::vector<TempIndicatorDef> slots_;
    int current_ = Root;
    TempForm form_;
    bool changed_ = false;
};

// After tmplist.ind changed: the temporary indicators leave the selection and the catalogue
// reads group 10 anew, so that every later selection and view sees the new definitions.
void ReloadTemporaryIndicators(DataStore& store, Selection* selection);

} // namespace zor::indicators
