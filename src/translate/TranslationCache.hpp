// A session's least-recently-used cache of translations, one per statement shape.
#pragma once
#include <cstddef>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "translate/OracleTranslator.hpp"
#include "translate/TranslationTemplate.hpp"

namespace tk::translate {

// Translations of one session, one per statement shape (see StatementShape),
// so that statements differing only in pasted values translate once. The
// least recently used shape goes when the cache is full: memory stays flat
// however many distinct statements run.
class TranslationCache {
  public:
    static constexpr size_t kDefaultCapacity = 4096;
    explicit TranslationCache(size_t capacity = kDefaultCapacity) : capacity_(capacity) {}

    // Throws TranslationError as OracleTranslator::translate does.
    Translation translate(std::string_view oracleSql, bool inTransaction);

    size_t size() const { return index_.size(); }
    // How many texts the translator has been asked for: the cache's misses.
    size_t translated() const { return translated_; }

  private:
    struct Entry {
        std::string key;
        // Empty when the shape's literals change its translation; the texts
        // are then kept whole, under their own key.
        std::optional<TranslationTemplate> translation;
    };
    Entry* find(const std::string& key);
    void insert(std::string key, std::optional<TranslationTemplate> translation);
    Translation translateText(std::string key, std::string_view oracleSql, bool inTransaction);

    size_t capacity_;
    size_t translated_ = 0;
    std::list<Entry> entries_;  // most recently used first
    std::unordered_map<std::string_view, std::list<Entry>::iterator> index_;
};

}  // namespace tk::translate
