#include "core/Patterns.h"

#include <cctype>
#include <string>
#include <vector>

namespace {

char lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// One piece of a pattern: "*", or a test of one character.
struct Token {
    enum Kind { Star, Any, Digit, Set, Literal } kind = Literal;
    char literal = 0;
    bool negated = false;
    std::string ranges; // pairs: first and last character of each range
};

std::vector<Token> tokens(std::string_view pattern) {
    std::vector<Token> out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        Token t;
        if (c == '*') {
            if (!out.empty() && out.back().kind == Token::Star) {
                continue; // "**" is "*"
            }
            t.kind = Token::Star;
        } else if (c == '?') {
            t.kind = Token::Any;
        } else if (c == '#') {
            t.kind = Token::Digit;
        } else if (c == '[' && pattern.find(']', i + 1) != std::string_view::npos) {
            const std::size_t close = pattern.find(']', i + 1);
            std::string_view set = pattern.substr(i + 1, close - i - 1);
            t.kind = Token::Set;
            if (!set.empty() && set.front() == '!') {
                t.negated = true;
                set.remove_prefix(1);
            }
            for (std::size_t k = 0; k < set.size(); ++k) {
                const char first = lower(set[k]);
                char last = first;
                if (k + 2 < set.size() && set[k + 1] == '-') {
                    last = lower(set[k + 2]);
                    k += 2;
                }
                t.ranges.push_back(first);
                t.ranges.push_back(last);
            }
            i = close;
        } else {
            t.literal = lower(c); // an unclosed "[" stands for itself
        }
        out.push_back(std::move(t));
    }
    return out;
}

bool accepts(const Token& t, char c) {
    switch (t.kind) {
    case Token::Any:
        return true;
    case Token::Digit:
        return c >= '0' && c <= '9';
    case Token::Set: {
        bool inSet = false;
        for (std::size_t k = 0; k + 1 < t.ranges.size(); k += 2) {
            inSet = inSet || (c >= t.ranges[k] && c <= t.ranges[k + 1]);
        }
        return inSet != t.negated;
    }
    default:
        return c == t.literal;
    }
}

} // namespace

bool PatternMatches(std::string_view pattern, std::string_view name) {
    const std::vector<Token> p = tokens(pattern);
    // Greedy with a return only to the last star seen: each star is tried at
    // later and later places, never nested, so nothing explodes.
    std::size_t t = 0, n = 0;
    std::size_t starToken = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        if (t < p.size() && p[t].kind == Token::Star) {
            starToken = t++;
            starName = n;
        } else if (t < p.size() && accepts(p[t], lower(name[n]))) {
            ++t;
            ++n;
        } else if (starToken != std::string_view::npos) {
            t = starToken + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (t < p.size() && p[t].kind == Token::Star) {
        ++t;
    }
    return t == p.size();
}
