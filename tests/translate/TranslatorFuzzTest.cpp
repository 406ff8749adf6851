// Hostile texts for the translator: mutations of real statements (the
// component's own SQL texts and the translator tests' inputs). Each must come
// out translated or refused with a TranslationError, within a second, and the
// cache must give what the translator gives. The run is seeded; set
// TKAM_FUZZ_INPUTS for a longer one and TKAM_FUZZ_SEED for another sequence.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "TestDatabase.hpp"
#include "translate/StatementShape.hpp"
#include "translate/TranslationCache.hpp"

namespace tk::translate {
namespace {

// Inputs that once failed; they stay in the corpus.
const std::vector<std::string>& regressions() {
    static const std::vector<std::string> texts = {
        "Select * From t Where rownum <= 1e999",
        "Select * From t Where rownum < 99999999999999999999999",
        "Select * From t Where rownum <= -1e400",
        "Select Decode(a.x, NULL, 'none', b.y, 'same',) From t a, u b",
        "Select Nvl(,) From t",
        "Select 'a' || " + std::string(20000, '+') + "1 From dual",
        "Select " + std::string(20000, '(') + "1" + std::string(20000, ')') + " From dual",
    };
    return texts;
}

// ---- the corpus: string literals of the sources that read as SQL ----

std::string unescaped(std::string_view literal) {
    std::string text;
    for (size_t i = 0; i < literal.size(); ++i) {
        char c = literal[i];
        if (c == '\\' && i + 1 < literal.size()) {
            c = literal[++i];
            c = c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c;
        }
        text += c;
    }
    return text;
}

// Adjacent literals ("a" "b") are one text, as the compiler joins them. A
// quote in a comment or a character literal yields a stray text or two,
// which the corpus can take.
std::vector<std::string> stringLiterals(const std::string& code) {
    std::vector<std::string> texts;
    std::string joined;
    bool open = false;
    for (size_t i = 0; i < code.size(); ++i) {
        if (code[i] == '"') {
            size_t end = i + 1;
            while (end < code.size() && code[end] != '"' && code[end] != '\n')
                end += code[end] == '\\' ? 2 : 1;
            joined += unescaped(std::string_view(code).substr(i + 1, end - i - 1));
            open = true;
            i = end;
        } else if (open && !std::isspace(static_cast<unsigned char>(code[i]))) {
            texts.push_back(std::move(joined));
            joined.clear();
            open = false;
        }
    }
    if (open) texts.push_back(std::move(joined));
    return texts;
}

bool readsAsSql(const std::string& text) {
    static const char* kStarts[] = {"select", "insert", "update",   "delete",  "create",
                                    "alter",  "drop",   "truncate", "declare", "begin",
                                    "with",   "merge",  "("};
    size_t first = text.find_first_not_of(" \r\n\t");
    if (first == std::string::npos) return false;
    std::string head = text.substr(first, 8);
    for (char& c : head) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const char* start : kStarts) {
        if (head.starts_with(start)) return true;
    }
    return false;
}

std::vector<std::string> corpus() {
    namespace fs = std::filesystem;
    std::vector<std::string> texts = regressions();
    const fs::path root = TKAM_SOURCE_DIR;
    for (const fs::path& dir :
         {root / "src", root / "tests" / "connect", root / "tests" / "translate"}) {
        for (const auto& entry : fs::recursive_directory_iterator(dir)) {
            if (entry.path().extension() != ".cpp" ||
                entry.path().filename() == fs::path(__FILE__).filename())
                continue;
            for (std::string& text : stringLiterals(tk::test::ReadFile(entry.path()))) {
                if (readsAsSql(text)) texts.push_back(std::move(text));
            }
        }
    }
    return texts;
}

// ---- mutations ----

// Mutations stay this short, so that the sanitizer run keeps within a minute.
constexpr size_t kLongestMutation = 8000;

class Mutator {
  public:
    Mutator(const std::vector<std::string>& corpus, uint64_t seed) : rng_(seed) {
        std::copy_if(corpus.begin(), corpus.end(), std::back_inserter(corpus_),
                     [](const std::string& text) { return text.size() <= kLongestMutation; });
    }

    std::string next() {
        std::string text = pick();
        for (int n = number(1, 4); n > 0; --n) mutate(text);
        return text;
    }

  private:
    size_t number(size_t low, size_t high) {
        return std::uniform_int_distribution<size_t>(low, high)(rng_);
    }
    int number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

    const std::string& pick() { return corpus_[number(size_t{0}, corpus_.size() - 1)]; }
    size_t position(const std::string& text) { return number(size_t{0}, text.size()); }

    char interestingByte() {
        static const std::string kBytes = "'\"()/+-*;|:.,=<>%#$?\n\t 0123456789eEaZ\x80\xff\xe4";
        if (number(0, 3) == 0) return static_cast<char>(number(0, 255));
        return kBytes[number(size_t{0}, kBytes.size() - 1)];
    }

    std::string piece() {
        static const std::vector<std::string> kPieces = {
            "(+)",       "\n/\n",       "/",           "'",           "\"",        "(",
            ")",         "''",          "||",          ":=",          ";",         " Begin ",
            " End; ",    " Declare ",   " rownum <= ", " Case When ", " Then ",    " Loop ",
            " If ",      " Exit When ", " Decode(",    " Nvl(",       " Select ",  " From ",
            " Where ",   " Union ",     " .. ",        "%rowtype",    "%notfound", " Into ",
            " Values (", "--",          "/*",          "*/",          "N'",        ":x",
            "?",         "1e999"};
        return kPieces[number(size_t{0}, kPieces.size() - 1)];
    }

    std::string hugeNumber() {
        switch (number(0, 2)) {
            case 0:
                return std::string(number(size_t{20}, size_t{1000}), '9');
            case 1:
                return "1e" + std::to_string(number(300, 99999));
            default:
                return "0." + std::string(number(size_t{20}, size_t{500}), '0') + "1";
        }
    }

    void nest(std::string& text) {
        size_t depth = number(size_t{1}, size_t{300});
        size_t begin = position(text), end = number(begin, text.size());
        text.insert(end, std::string(depth, ')'));
        text.insert(begin,
                    number(0, 1) ? std::string(depth, '(') : "(Select " + std::string(depth, '('));
    }

    void mutate(std::string& text) {
        switch (number(0, 9)) {
            case 0:
                if (!text.empty()) text[number(size_t{0}, text.size() - 1)] = interestingByte();
                break;
            case 1:
                text.resize(position(text));
                break;
            case 2: {
                const std::string& other = pick();
                text =
                    text.substr(0, position(text)) + other.substr(number(size_t{0}, other.size()));
                break;
            }
            case 3:
                nest(text);
                break;
            case 4:
                text.insert(position(text), piece());
                break;
            case 5:
                text.insert(position(text), hugeNumber());
                break;
            case 6: {
                size_t begin = position(text), length = number(size_t{0}, size_t{40});
                std::string chunk = text.substr(begin, length);
                for (int k = number(1, 50); k > 0; --k) text.insert(begin, chunk);
                break;
            }
            case 7: {
                size_t begin = position(text);
                text.erase(begin, number(size_t{0}, size_t{30}));
                break;
            }
            case 8:
                text.insert(position(text),
                            std::string(number(size_t{1}, size_t{300}), "-+("[number(0, 2)]));
                break;
            default:
                text.insert(position(text), std::string(1, interestingByte()));
                break;
        }
        if (text.size() > kLongestMutation) text.resize(kLongestMutation);
    }

    std::vector<std::string> corpus_;
    std::mt19937_64 rng_;
};

size_t fromEnvironment(const char* name, size_t fallback) {
    const char* value = std::getenv(name);
    return value ? std::strtoull(value, nullptr, 10) : fallback;
}

// The text with every lifted literal replaced by another of its kind: the
// same shape, so the cache answers from the template the text left.
std::string sibling(const std::string& text, bool inTransaction) {
    std::string out;
    size_t copied = 0;
    const StatementShape shape(text, inTransaction);
    for (std::string_view literal : shape.literals()) {
        size_t at = static_cast<size_t>(literal.data() - text.data());
        out.append(text, copied, at - copied);
        bool isText = literal.front() == '\'' || literal.front() == 'N' || literal.front() == 'n';
        bool fraction = literal.find_first_of(".eE") != std::string_view::npos;
        out += isText ? "'zz'" : fraction ? "2.5" : "42";
        copied = at + literal.size();
    }
    return out + text.substr(copied);
}

// What went wrong with one input, or empty. `compare`: the cache's answers,
// for the text and for a sibling of the same shape, must be the translator's
// (checked on a share of the inputs only, to keep the run short).
std::string fault(TranslationCache& cache, const std::string& text, bool inTransaction,
                  bool compare) {
    auto translated = [&](const std::string& sql, auto&& translate) {
        try {
            return translate(sql, inTransaction).sql;
        } catch (const TranslationError&) {
            return std::string("TranslationError");
        }
    };
    auto cached = [&](const std::string& sql) {
        return translated(sql, [&](auto&&... a) { return cache.translate(a...); });
    };
    auto direct = [&](const std::string& sql) {
        return translated(sql, [](auto&&... a) { return OracleTranslator::translate(a...); });
    };
    try {
        std::string answer = cached(text);
        if (!compare) return {};
        if (answer != direct(text)) return "cache gives " + answer + " instead of " + direct(text);
        if (answer == "TranslationError") return {};
        std::string other = sibling(text, inTransaction);
        if (cached(other) != direct(other)) return "cache gives " + cached(other) + " for " + other;
        return {};
    } catch (const std::exception& e) {
        return std::string("exception: ") + e.what();
    }
}

TEST(TranslatorFuzz, MutatedStatementsTranslateOrAreRefused) {
    const std::vector<std::string> texts = corpus();
    ASSERT_GT(texts.size(), 100u) << "the corpus should hold the component's statements";
    TranslationCache cache(256);
    size_t failures = 0;
    for (const std::string& text : texts) {
        std::string what = fault(cache, text, false, true);
        EXPECT_EQ(what, "") << text;
        failures += !what.empty();
    }
    const size_t seed = fromEnvironment("TKAM_FUZZ_SEED", 20261206);
    const size_t inputs = fromEnvironment("TKAM_FUZZ_INPUTS", 100000);
    std::printf("%zu corpus texts, %zu mutations, seed %zu\n", texts.size(), inputs, seed);
    Mutator mutator(texts, seed);
    std::chrono::steady_clock::duration slowest{};
    for (size_t n = 0; n < inputs && failures < 20; ++n) {
        std::string text = mutator.next();
        auto start = std::chrono::steady_clock::now();
        std::string what = fault(cache, text, n % 4 == 0, n % 4 == 1);
        slowest = std::max(slowest, std::chrono::steady_clock::now() - start);
        EXPECT_EQ(what, "") << "input " << n << " of seed " << seed << ": " << text;
        failures += !what.empty();
    }
    std::printf("slowest input: %lld ms\n",
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(slowest).count()));
}

}  // namespace
}  // namespace tk::translate
