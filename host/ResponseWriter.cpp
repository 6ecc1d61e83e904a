#include "ResponseWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

void AppendQuoted(std::string& out, const char* begin, const char* end)
{
    static const char kHex[] = "0123456789ABCDEF";
    out += '"';
    for (const char* p = begin; p != end; ++p) {
        const auto byte = static_cast<unsigned char>(*p);
        switch (byte) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (byte < 0x20) {
                out += "\\u00";
                out += kHex[byte >> 4];
                out += kHex[byte & 0x0F];
            } else {
                out += static_cast<char>(byte);
            }
        }
    }
    out += '"';
}

void AppendQuoted(std::string& out, const std::string& text)
{
    AppendQuoted(out, text.data(), text.data() + text.size());
}

void AppendReal(std::string& out, double value)
{
    // Responses carry no fractions; this keeps any that appear valid JSON.
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    out += text;
}

void AppendValue(std::string& out, const Json::Value& value)
{
    switch (value.type()) {
    case Json::nullValue: out += "null"; break;
    case Json::intValue: out += std::to_string(value.asLargestInt()); break;
    case Json::uintValue: out += std::to_string(value.asLargestUInt()); break;
    case Json::realValue: AppendReal(out, value.asDouble()); break;
    case Json::booleanValue: out += value.asBool() ? "true" : "false"; break;
    case Json::stringValue: {
        const char* begin = nullptr;
        const char* end = nullptr;
        value.getString(&begin, &end);
        AppendQuoted(out, begin, end);
        break;
    }
    case Json::arrayValue: {
        out += '[';
        for (Json::ArrayIndex i = 0; i < value.size(); ++i) {
            if (i != 0) out += ',';
            AppendValue(out, value[i]);
        }
        out += ']';
        break;
    }
    case Json::objectValue: {
        // std::string compares bytes as unsigned char: ascending byte order.
        Json::Value::Members keys = value.getMemberNames();
        std::sort(keys.begin(), keys.end());
        out += '{';
        bool first = true;
        for (const std::string& key : keys) {
            if (!first) out += ',';
            first = false;
            AppendQuoted(out, key);
            out += ':';
            AppendValue(out, *value.find(key.data(), key.data() + key.size()));
        }
        out += '}';
        break;
    }
    }
}

} // namespace

std::string SerializeResponse(const Json::Value& response)
{
    std::string out;
    AppendValue(out, response);
    out += '\n';
    return out;
}
