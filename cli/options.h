// The subcommands' argument parser. An argument beginning with "--" names an option, every
// other one is positional. An option is a flag ("--wire") or takes the next argument as its
// value ("--zoom 2", "--height 3=120"), whatever that argument looks like; each may be given
// again and each occurrence is handled in turn, so the last one of a value option wins. An
// unknown option, a missing or refused value or the wrong number of positional arguments is
// wrong usage.
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

}  // namespace quarn::cli
