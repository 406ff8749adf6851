// Hostile texts for the translator: mutations of real statements (the
// component's own SQL texts and the translator tests' inputs). Each must come
// out translated or refused with a TranslationError, within a second, and the
// cache must give what the translator gives. The run is seeded; set
// TKAM_FUZZ_INPUTS for a longer one and TKAM_FUZZ_SEED for another sequence.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "connect/TranslationCache.hpp"

namespace tk::connect {
namespace {

// Inputs that once failed; they stay in the corpus.
const std::vector<std::string>& regressions() {
    static const std::vector<std::string> texts = {
        "Select * From t Where rownum <= 1e999",
        "Select * From t Where rownum < 99999999999999999999999",
        "Select * From t Where rownum <= -1e400",
        "Select Decode(a.x, NULL, 'none', b.y, 'same',) From t a, u b",
        "Select Nvl(,) From t",
    };
    return texts;
}

// ---- the corpus: string literals of the sources that read as SQL ----

class LiteralScanner {
  public:
    explicit LiteralScanner(std::string code) : code_(std::move(code)) {}

    // Adjacent literals ("a" "b") are one text, as the compiler joins them.
    std::vector<std::string> texts() {
        std::vector<std::string> out;
        std::string current;
        bool open = false;
        while (pos_ < code_.size()) {
            if (skipCommentOrBlank()) continue;
            if (atRawString()) {
                current += rawString();
                open = true;
            } else if (code_[pos_] == '"') {
                current += quoted();
                open = true;
            } else {
                if (open) out.push_back(std::move(current));
                current.clear();
                open = false;
                if (code_[pos_] == '\'') skipCharLiteral();
                ++pos_;
            }
        }
        if (open) out.push_back(current);
        return out;
    }

  private:
    bool skipCommentOrBlank() {
        if (std::isspace(static_cast<unsigned char>(code_[pos_]))) {
            ++pos_;
        } else if (code_.compare(pos_, 2, "//") == 0) {
            pos_ = code_.find('\n', pos_);
        } else if (code_.compare(pos_, 2, "/*") == 0) {
            size_t end = code_.find("*/", pos_ + 2);
            pos_ = end == std::string::npos ? std::string::npos : end + 2;
        } else {
            return false;
        }
        if (pos_ == std::string::npos) pos_ = code_.size();
        return true;
    }

    bool atRawString() const { return code_.compare(pos_, 2, "R\"") == 0; }

    std::string rawString() {
        size_t open = code_.find('(', pos_);
        std::string close = ")" + code_.substr(pos_ + 2, open - pos_ - 2) + "\"";
        size_t end = code_.find(close, open);
        std::string text = code_.substr(open + 1, end - open - 1);
        pos_ = end + close.size();
        return text;
    }

    std::string quoted() {
        std::string text;
        for (++pos_; pos_ < code_.size() && code_[pos_] != '"'; ++pos_) {
            if (code_[pos_] != '\\') {
                text += code_[pos_];
                continue;
            }
            char e = code_[++pos_];
            text += e == 'n' ? '\n' : e == 'r' ? '\r' : e == 't' ? '\t' : e == 'x' ? '\x01' : e;
        }
        ++pos_;
        return text;
    }

    void skipCharLiteral() {
        size_t end = code_.find('\'', pos_ + 1 + (code_[pos_ + 1] == '\\'));
        if (end != std::string::npos && end - pos_ <= 4) pos_ = end;
    }

    std::string code_;
    size_t pos_ = 0;
};

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
    for (const fs::path& dir : {root / "src", root / "tests" / "connect"}) {
        for (const auto& entry : fs::recursive_directory_iterator(dir)) {
            if (entry.path().extension() != ".cpp" ||
                entry.path().filename() == fs::path(__FILE__).filename())
                continue;
            std::ifstream in(entry.path());
            std::stringstream code;
            code << in.rdbuf();
            for (std::string& text : LiteralScanner(code.str()).texts()) {
                if (readsAsSql(text)) texts.push_back(std::move(text));
            }
        }
    }
    return texts;
}

// ---- mutations ----

class Mutator {
  public:
    Mutator(const std::vector<std::string>& corpus, uint64_t seed) : corpus_(corpus), rng_(seed) {}

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
        if (text.size() > 20000) text.resize(20000);
    }

    const std::vector<std::string>& corpus_;
    std::mt19937_64 rng_;
};

size_t fromEnvironment(const char* name, size_t fallback) {
    const char* value = std::getenv(name);
    return value ? std::strtoull(value, nullptr, 10) : fallback;
}

// A C++ literal of the input, to paste into regressions().
std::string asLiteral(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c < 0x20 || c >= 0x7f) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x\"\"", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

// What went wrong with one input, or empty.
std::string fault(TranslationCache& cache, const std::string& text, bool inTransaction) {
    try {
        auto start = std::chrono::steady_clock::now();
        std::string direct;
        try {
            direct = OracleTranslator::translate(text, inTransaction).sql;
        } catch (const TranslationError&) {
        }
        std::string cached;
        try {
            cached = cache.translate(text, inTransaction).sql;
        } catch (const TranslationError&) {
        }
        if (std::chrono::steady_clock::now() - start > std::chrono::seconds(1)) return "over 1 s";
        if (cached != direct) return "cache gives " + cached + " instead of " + direct;
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
        std::string what = fault(cache, text, false);
        EXPECT_EQ(what, "") << asLiteral(text);
        failures += !what.empty();
    }
    Mutator mutator(texts, fromEnvironment("TKAM_FUZZ_SEED", 20261206));
    const size_t inputs = fromEnvironment("TKAM_FUZZ_INPUTS", 100000);
    for (size_t n = 0; n < inputs && failures < 20; ++n) {
        std::string text = mutator.next();
        std::string what = fault(cache, text, n % 4 == 0);
        EXPECT_EQ(what, "") << "input " << n << ": " << asLiteral(text);
        failures += !what.empty();
    }
}

}  // namespace
}  // namespace tk::connect
