// Text properties of records, each kind with its own rule for what the host assigns.
#pragma once
#include <string>
#include <string_view>

namespace tk::am {

// What kind of text a property holds, and so how it treats what the host
// assigns. Every kind stores a blank value as one space (the flexible-item key
// as 310 zeros), so that no text column is written empty: an empty text is NULL
// to the database, and the loads read every column without a NULL check.
enum class TextKind {
    Quoted,       // descriptive text: single quotes doubled when set
    Kept,         // dates and codes: stored and written as set
    FlexibleKey,  // the flexible-item key: quotes doubled when set
    // Stored exactly as assigned; quotes doubled only when pasted into a statement.
    AsAssigned,
    AsAssignedFlexibleKey,
};

// A text property with the assignment rule of its kind. Reading gives the
// stored form: for a Quoted text, the text with its quotes doubled once it was
// set, the database text as it stands once it was loaded. Until then it holds
// the blank form, which the database takes where an empty text would be NULL.
class RecordText {
  public:
    explicit RecordText(TextKind kind);
    RecordText& operator=(std::string_view value);

    // A value read from the database: stored as it stands.
    void load(std::string stored);
    // Back to the blank form, as when a load finds no row.
    void clear();

    const std::string& str() const { return value_; }
    operator const std::string&() const { return value_; }
    // The text to paste between single quotes in a statement.
    std::string sqlBody() const;

    friend bool operator==(const RecordText& text, std::string_view value) {
        return text.value_ == value;
    }

  private:
    std::string blankForm() const;

    TextKind kind_;
    std::string value_;
    bool quotesDoubled_ = false;
};

}  // namespace tk::am
