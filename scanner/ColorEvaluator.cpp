#include "scanner/ColorEvaluator.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "library/EntryColor.h"
#include "library/TextureEntry.h"
#include "platform/NumberText.h"
#include "scanner/ValueTokens.h"
#include "scanner/WordTables.h"

namespace sc {
namespace {

// Component slots: red, green, blue, and one for values that are read and
// dropped (filter, transmit).
constexpr int kIgnored = 3;

float& Component(EntryColor& color, int index) {
    return index == 0 ? color.red : index == 1 ? color.green : color.blue;
}

float Combine(float present, float value, char op) {
    switch (op) {
        case '+': return present + value;
        case '-': return present - value;
        case '*': return present * value;
        case '/': return present / value;
        default: return value;
    }
}

void CombineColor(EntryColor& color, const EntryColor& value, char op) {
    switch (op) {
        case '+': color += value; break;
        case '-': color -= value; break;
        case '*': color *= value; break;
        case '/': color /= value; break;
        default: color = value; break;
    }
}

float NumberValue(std::string_view token) { return ParseFloat(token); }

// The colour of each dependency, once evaluated: a name used many times
// along a chain of colours would otherwise be evaluated again and again,
// doubling the work with every level.
using ColorMemo = std::vector<std::optional<EntryColor>>;

bool Evaluate(const TextureEntry& entry, std::string_view text, int lastDependencyIndex, EntryColor& color,
              ColorMemo& memo);

const EntryColor& DependencyColor(const TextureEntry& entry, int index, ColorMemo& memo) {
    auto& slot = memo[static_cast<size_t>(index)];
    if (!slot) {
        EntryColor value;
        const DeclarationRecord* dependency = entry.dependencies[static_cast<size_t>(index)];
        if (dependency->text) Evaluate(entry, *dependency->text, index - 1, value, memo);
        slot = value;
    }
    return *slot;
}

bool Evaluate(const TextureEntry& entry, std::string_view text, int lastDependencyIndex, EntryColor& color,
              ColorMemo& memo) {
    int pending = -1;          // component waiting for its value
    float pendingSign = 1;
    int index = -1;            // component inside <...>, -1 outside
    char op = 0;               // first character of the previous token
    bool taken = false;
    ValueTokens tokens(text);
    std::string_view token;
    while (tokens.Next(token)) {
        const char first = token[0];
        if (pending >= 0) {
            if ((first == '-' || first == '+') && token.size() == 1) {
                if (first == '-') pendingSign = -pendingSign;
                continue;
            }
            if (pending != kIgnored) Component(color, pending) = pendingSign * NumberValue(token);
            pending = -1;
            pendingSign = 1;
            taken = true;
        } else if (token == "red" || token == "green" || token == "blue") {
            pending = first == 'r' ? 0 : first == 'g' ? 1 : 2;
        } else if (token == "filter" || token == "transmit") {
            pending = kIgnored;
        } else if (first == '<') {
            index = 0;
        } else if (first == '>' && index >= 0) {
            index = -1;
        } else if (first == ',' && index >= 0) {
            ++index;
        } else if (ValueTokens::IsNumber(token)) {
            const float value = NumberValue(token);
            if (index < 0) {
                for (int c = 0; c < 3; ++c) Component(color, c) = Combine(Component(color, c), value, op);
            } else if (index < 3) {
                Component(color, index) = Combine(Component(color, index), value, op);
            }
            taken = true;
        } else if (ValueTokens::IsIdentifier(token) && !IsReservedWord(token)) {
            int found = std::min(lastDependencyIndex, static_cast<int>(entry.dependencies.size()) - 1);
            while (found >= 0 && entry.dependencies[static_cast<size_t>(found)]->name != token) --found;
            if (found < 0) {
                color = 0.0f;
                return false;
            }
            CombineColor(color, DependencyColor(entry, found, memo), op);
            taken = true;
        }
        op = first;
    }
    return taken;
}

}  // namespace

bool EvaluateColor(const TextureEntry& entry, std::string_view text, int lastDependencyIndex, EntryColor& color) {
    ColorMemo memo(entry.dependencies.size());
    return Evaluate(entry, text, lastDependencyIndex, color, memo);
}

void ResolveColor(TextureEntry& entry) {
    if (!entry.color) entry.color = std::make_unique<EntryColor>();
    EntryColor& color = *entry.color;
    color = 0.0f;
    if (entry.record && entry.record->text)
        EvaluateColor(entry, *entry.record->text, static_cast<int>(entry.dependencies.size()) - 1, color);
    // Rounded half up; cutting the fraction would pull negative values towards zero.
    for (float* c : {&color.red, &color.green, &color.blue})
        *c = static_cast<float>(std::floor(static_cast<double>(*c) * 1e6 + 0.5) / 1e6);
}

}  // namespace sc
