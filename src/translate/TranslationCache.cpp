// Cache lookups by shape: a template filled with the statement's literals, or whole texts
// cached one by one when their literals change the translation.
#include "translate/TranslationCache.hpp"

#include "translate/StatementShape.hpp"

namespace tk::translate {
namespace {

// The key of a text kept whole; "=" keeps it apart from every shape's key.
std::string wholeTextKey(const StatementShape& shape, std::string_view oracleSql) {
    return std::string("=").append(1, shape.key().front()).append(oracleSql);
}

}  // namespace

Translation TranslationCache::translate(std::string_view oracleSql, bool inTransaction) {
    StatementShape shape(oracleSql, inTransaction);
    if (Entry* hit = find(shape.key())) {
        if (hit->translation) return hit->translation->fill(shape.literals());
        return translateText(wholeTextKey(shape, oracleSql), oracleSql, inTransaction);
    }
    ++translated_;
    Translation exact = OracleTranslator::translate(oracleSql, inTransaction);
    if (shape.literals().empty()) {
        insert(shape.key(), TranslationTemplate(exact));
        return exact;
    }
    std::optional<TranslationTemplate> cut;
    try {
        Translation shaped = OracleTranslator::translate(shape.text(), inTransaction);
        cut = TranslationTemplate::cut(shaped, shape, exact);
    } catch (const TranslationError&) {
        // the markers made it untranslatable: the literals decide; keep texts whole
    }
    insert(shape.key(), cut);
    if (!cut) insert(wholeTextKey(shape, oracleSql), TranslationTemplate(exact));
    return exact;
}

// Texts whose literals matter: cached whole, each its own entry.
Translation TranslationCache::translateText(std::string key, std::string_view oracleSql,
                                            bool inTransaction) {
    if (Entry* hit = find(key)) return hit->translation->fill({});
    ++translated_;
    Translation exact = OracleTranslator::translate(oracleSql, inTransaction);
    insert(std::move(key), TranslationTemplate(exact));
    return exact;
}

TranslationCache::Entry* TranslationCache::find(const std::string& key) {
    auto it = index_.find(key);
    if (it == index_.end()) return nullptr;
    entries_.splice(entries_.begin(), entries_, it->second);
    return &*it->second;
}

void TranslationCache::insert(std::string key, std::optional<TranslationTemplate> translation) {
    if (index_.contains(key)) return;
    while (!entries_.empty() && entries_.size() >= capacity_) {
        index_.erase(entries_.back().key);
        entries_.pop_back();
    }
    entries_.push_front(Entry{std::move(key), std::move(translation)});
    index_.emplace(entries_.front().key, entries_.begin());
}

}  // namespace tk::translate
