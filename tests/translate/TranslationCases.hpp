// Helpers for the translator tests: an Oracle text and the PostgreSQL text it
// must become, to the letter, or texts that must be refused.
#pragma once
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "translate/OracleTranslator.hpp"

namespace tk::translate {

inline std::string tr(std::string_view sql, bool inTransaction = false) {
    return OracleTranslator::translate(sql, inTransaction).sql;
}

// An Oracle text and the PostgreSQL text it must become, to the letter.
struct Rewrite {
    std::string oracle, postgres;
};

inline void expectRewrites(std::initializer_list<Rewrite> cases) {
    for (const Rewrite& c : cases) EXPECT_EQ(tr(c.oracle), c.postgres) << c.oracle;
}

inline void expectRefused(std::initializer_list<std::string> texts) {
    for (const std::string& text : texts) EXPECT_THROW(tr(text), TranslationError) << text;
}

}  // namespace tk::translate
