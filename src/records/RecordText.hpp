#pragma once
#include <string>
#include <string_view>

namespace tk::am {

// How a text property treats what the host assigns. Every rule stores a blank
// value as one space (the flexible-item key as 310 zeros), so that no text
// column is written empty: an empty text is NULL to the database, and the loads
// read every column without a NULL check.
enum class TextRule {
    Quoted,       // descriptive text: single quotes doubled when set
    Kept,         // dates and codes: stored and written as set
    FlexibleKey,  // the flexible-item key: quotes doubled when set
    // Stored exactly as assigned; quotes doubled only when pasted into a
    // statement. A record cleared by a load that found nothing holds "".
    AsAssigned,
    AsAssignedFlexibleKey,
};

// A text property with its assignment rule. Reading gives the stored form: for
// Quoted texts, the text with its quotes doubled once it was set, the database
// text as it stands once it was loaded.
class RecordText {
public:
    explicit RecordText(TextRule rule) : rule_(rule) {}
    RecordText& operator=(std::string_view value);

    // A value read from the database: stored as it stands, without the rule.
    void load(std::string stored);
    // What a record holds when its load finds no row.
    void clear();

    const std::string& str() const { return value_; }
    operator const std::string&() const { return value_; }
    // The text to paste between single quotes in a statement.
    std::string sqlBody() const;

    friend bool operator==(const RecordText& text, std::string_view value) {
        return text.value_ == value;
    }

private:
    bool isFlexibleKey() const;

    TextRule rule_;
    std::string value_;
    bool quotesDoubled_ = false;
};

}  // namespace tk::am
