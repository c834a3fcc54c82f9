#include "options.h"

#include <cmath>
#include <exception>
#include <iostream>
#include <utility>

namespace quarn::cli {

void OptionParser::flag(const std::string& name, bool& target) {
    const auto set = [&target](const std::string&) {
        target = true;
        return true;
    };
    m_options[name] = {false, set};
}

void OptionParser::text(const std::string& name, std::string& target) {
    value(name, [&target](const std::string& text) {
        target = text;
        return true;
    });
}

void OptionParser::value(const std::string& name, ValueHandler accept) {
    m_options[name] = {true, std::move(accept)};
}

void OptionParser::keyed(const std::string& name, KeyedHandler accept) {
    value(name, [accept = std::move(accept)](const std::string& text) {
        const auto equals = text.find('=');
        return equals != std::string::npos &&
               accept(text.substr(0, equals), text.substr(equals + 1));
    });
}

std::optional<std::vector<std::string>> OptionParser::parse(const std::vector<std::string>& args,
                                                            std::size_t count) const {
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i].rfind("--", 0) != 0) {
            positional.push_back(args[i]);
            continue;
        }
        const auto option = m_options.find(args[i]);
        if (option == m_options.end())
            return std::nullopt;
        const Option& o = option->second;
        if (o.takesValue && i + 1 >= args.size())
            return std::nullopt;
        if (!o.accept(o.takesValue ? args[++i] : std::string()))
            return std::nullopt;
    }
    if (positional.size() != count)
        return std::nullopt;
    return positional;
}

std::optional<int> ParseWhole(const std::string& text, int low, int high, std::size_t maxDigits) {
    if (text.empty() || text.size() > maxDigits)
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

template <typename Number>
std::optional<Number> ParsePositive(const std::string& text) {
    try {
        std::size_t used = 0;
        const auto number = static_cast<Number>(std::stod(text, &used));
        if (used != text.size() || !std::isfinite(number) || !(number > 0))
            return std::nullopt;
        return number;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

template std::optional<float> ParsePositive<float>(const std::string&);
template std::optional<double> ParsePositive<double>(const std::string&);

OptionParser::ValueHandler WholeOption(const char* name, int low, int high,
                                       std::optional<int>& target) {
    return [=, &target](const std::string& text) {
        target = ParseWhole(text, low, high);
        if (!target)
            std::cerr << name << " takes a whole number from " << low << " to " << high
                      << ", not \"" << text << "\".\n";
        return target.has_value();
    };
}

OptionParser::ValueHandler NumberOption(const char* name, double low, double high, double& target) {
    return [=, &target](const std::string& text) {
        const auto number = ParsePositive<double>(text);
        const bool inRange = number && *number >= low && *number <= high;
        if (inRange)
            target = *number;
        else
            std::cerr << name << " takes a number from " << low << " to " << high << ", not \""
                      << text << "\".\n";
        return inRange;
    };
}

OptionParser::ValueHandler PositiveOption(const char* name, float& target) {
    return [=, &target](const std::string& text) {
        const auto number = ParsePositive<float>(text);
        if (number)
            target = *number;
        else
            std::cerr << name << " takes a number above 0, not \"" << text << "\".\n";
        return number.has_value();
    };
}

bool NamesNoFile(const std::string& name) {
    const std::string last = name.substr(name.find_last_of('/') + 1);
    return last.empty() || last == "." || last == "..";
}

}  // namespace quarn::cli
