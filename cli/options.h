// The subcommands' argument parser. An argument beginning with "--" names an option, every
// other one is positional. An option is a flag ("--wire") or takes the next argument as its
// value ("--zoom 2", "--height 3=120"), whatever that argument looks like; each may be given
// again and each occurrence is handled in turn, so the last one of a value option wins. An
// unknown option, a missing or refused value or the wrong number of positional arguments is
// wrong usage. The number options below refuse a value with a line on stderr that names the
// option and what it takes.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quarn::cli {

class OptionParser {
  public:
    /// Takes a value text; false refuses it as wrong usage.
    using ValueHandler = std::function<bool(const std::string& value)>;
    /// Takes the two sides of a KEY=VALUE text; false refuses it as wrong usage.
    using KeyedHandler = std::function<bool(const std::string& key, const std::string& value)>;

    /// "--name" sets target to true.
    void flag(const std::string& name, bool& target);
    /// "--name TEXT" stores TEXT as it stands.
    void text(const std::string& name, std::string& target);
    /// "--name VALUE" hands VALUE to accept.
    void value(const std::string& name, ValueHandler accept);
    /// "--name KEY=VALUE", split at the first "="; a value without "=" is wrong usage.
    void keyed(const std::string& name, KeyedHandler accept);

    /// The positional arguments, or nothing when the usage is wrong or they are not count.
    std::optional<std::vector<std::string>> parse(const std::vector<std::string>& args,
                                                  std::size_t count) const;

  private:
    struct Option {
        bool takesValue;
        ValueHandler accept;
    };
    std::map<std::string, Option> m_options;
};

/// The number written as 1 to maxDigits (at most 9) decimal digits, no sign, if in low..high.
std::optional<int> ParseWhole(const std::string& text, int low, int high,
                              std::size_t maxDigits = 5);

/// The whole text as a number that stays positive and finite as a Number (float or double).
template <typename Number>
std::optional<Number> ParsePositive(const std::string& text);

/// Takes a whole number from low to high into target; otherwise says on stderr what name takes.
OptionParser::ValueHandler WholeOption(const char* name, int low, int high,
                                       std::optional<int>& target);
/// Takes a number from low to high (decimals and exponents allowed) into target, the same way.
OptionParser::ValueHandler NumberOption(const char* name, double low, double high, double& target);
/// Takes a number above 0 that stays finite as a float into target, the same way.
OptionParser::ValueHandler PositiveOption(const char* name, float& target);

/// True when an output name names no file: empty, or ending in a folder ("maps/", ".", "..").
bool NamesNoFile(const std::string& name);

}  // namespace quarn::cli
