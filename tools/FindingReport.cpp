#include "FindingReport.h"

#include "Utf8.h"

#include <array>
#include <cstdio>

namespace {

constexpr std::array Rules{
    RCheckRule{"duplicate-key", "Two captions of one scope are marked with the same key."},
    RCheckRule{"key-taken-outside",
               "A caption is marked with a key that a scope around it (the dialog of a tab "
               "page) already holds."},
    RCheckRule{"no-key", "A caption carries no marker, so it has no access key."},
    RCheckRule{"marker-at-end", "A marker at the end of a caption marks nothing."},
    RCheckRule{"marker-before-non-key",
               "A marker stands before a character that cannot be an access key."},
    RCheckRule{"several-markers", "A caption carries more than one marker."},
    RCheckRule{"label-without-buddy",
               "A label without a buddy carries a marker, which shows as it stands."},
    RCheckRule{"source-key-missing", "A translation has no key, but its source has one."},
    RCheckRule{"key-not-in-source", "A translation has a key, but its source has none."},
    RCheckRule{"string-passed-over",
               "A string holds markup or an entity the writer cannot keep, so it is not "
               "checked."},
    RCheckRule{"context-without-form",
               "No form given has the class a translation context names, so the context is "
               "checked as one scope."},
    RCheckRule{"no-key-character", "A caption has no character that can be an access key."},
    RCheckRule{"too-few-keys", "A group of captions shares fewer keys than it has members."},
    RCheckRule{"no-distinct-keys", "fix finds no distinct key for every caption of a scope."},
    RCheckRule{"file-note", "Something a reader says about the file as a whole."},
};

std::string_view SeverityName(TSeverity severity)
{
    switch (severity) {
    case TSeverity::Error:
        return "error";
    case TSeverity::Warning:
        return "warning";
    case TSeverity::Note:
        break;
    }
    return "note";
}

// A JSON string literal. Bytes that are not UTF-8 (a caption list holds bytes) are taken as
// Latin-1, as the window shows them, so that the output is always valid JSON.
void AppendJsonString(std::string& out, std::string_view text)
{
    out.push_back('"');
    for (std::size_t pos = 0; pos < text.size();) {
        const RDecoded decoded = DecodeUtf8At(text, pos);
        const char32_t c =
            decoded.Valid ? decoded.CodePoint : static_cast<unsigned char>(text[pos]);
        const std::size_t length = decoded.Valid ? decoded.Length : 1;
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(static_cast<char>(c));
        } else if (c < 0x20 || c == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            out += escaped;
        } else if (decoded.Valid) {
            out.append(text.substr(pos, length));
        } else {
            AppendUtf8(out, c);
        }
        pos += length;
    }
    out.push_back('"');
}

std::string JsonString(std::string_view text)
{
    std::string out;
    AppendJsonString(out, text);
    return out;
}

// A file name as a URI reference: relative names stay relative, as code-scanning services
// resolve them against the checked-out tree; anything but unreserved characters and "/" is
// percent-encoded.
std::string UriOf(std::string_view fileName)
{
    std::string uri;
    for (const char c : fileName) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '.' || c == '_' || c == '~' || c == '/') {
            uri.push_back(c);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
            uri += escaped;
        }
    }
    return uri;
}

// Where the rule stands in the run's list, for a reader that indexes rather than matches.
std::string RuleIndexMember(std::string_view id)
{
    for (std::size_t i = 0; i < Rules.size(); ++i)
        if (Rules[i].Id == id)
            return ", \"ruleIndex\": " + std::to_string(i);
    return {};
}

} // namespace

std::span<const RCheckRule> CheckRules()
{
    return Rules;
}

std::string_view RuleOf(TFindingKind kind, bool takenOutside)
{
    switch (kind) {
    case TFindingKind::NoMarker:
        return "no-key";
    case TFindingKind::LoneMarkerAtEnd:
        return "marker-at-end";
    case TFindingKind::MarkerBeforeNonKey:
        return "marker-before-non-key";
    case TFindingKind::SeveralMarkers:
        return "several-markers";
    case TFindingKind::DuplicateKey:
        break;
    }
    return takenOutside ? "key-taken-outside" : "duplicate-key";
}

std::optional<TReportFormat> ReportFormatNamed(std::string_view name)
{
    if (name == "text")
        return TReportFormat::Text;
    if (name == "json")
        return TReportFormat::Json;
    if (name == "sarif")
        return TReportFormat::Sarif;
    return std::nullopt;
}

std::string FindingsAsText(const std::vector<RCheckFinding>& findings)
{
    std::string text;
    for (const RCheckFinding& finding : findings) {
        text += finding.File + ':' + std::to_string(finding.Line) + ':';
        if (finding.Column != 0) {
            text += std::to_string(finding.Column) + ": ";
            text.append(SeverityName(finding.Severity)).append(":");
        }
        text += ' ' + finding.Message;
        if (!finding.Scope.empty())
            text += " [" + finding.Scope + ']';
        text += '\n';
    }
    return text;
}

std::string FindingsAsJson(const std::vector<RCheckFinding>& findings)
{
    std::string json = "[";
    const char* separator = "\n";
    for (const RCheckFinding& finding : findings) {
        json += separator;
        separator = ",\n";
        json += "  {\"file\": " + JsonString(finding.File) +
                ", \"line\": " + std::to_string(finding.Line) +
                ", \"column\": " + (finding.Column ? std::to_string(finding.Column) : "null") +
                ", \"scope\": " + (finding.Scope.empty() ? "null" : JsonString(finding.Scope)) +
                ", \"rule\": " + JsonString(finding.Rule) +
                ", \"message\": " + JsonString(finding.Message) + ", \"severity\": \"";
        json.append(SeverityName(finding.Severity)).append("\"}");
    }
    json += findings.empty() ? "]\n" : "\n]\n";
    return json;
}

std::string FindingsAsSarif(const std::vector<RCheckFinding>& findings)
{
    std::string sarif = "{\n  \"$schema\": \"https://json.schemastore.org/sarif-2.1.0.json\",\n"
                        "  \"version\": \"2.1.0\",\n"
                        "  \"runs\": [\n    {\n"
                        "      \"tool\": {\n        \"driver\": {\n"
                        "          \"name\": \"quarnel-cli\",\n"
                        "          \"rules\": [";
    const char* separator = "\n";
    for (const RCheckRule& rule : Rules) {
        sarif += separator;
        separator = ",\n";
        sarif += "            {\"id\": " + JsonString(rule.Id) +
                 ", \"shortDescription\": {\"text\": " + JsonString(rule.Description) + "}}";
    }
    sarif += "\n          ]\n        }\n      },\n      \"results\": [";
    separator = "\n";
    for (const RCheckFinding& finding : findings) {
        sarif += separator;
        separator = ",\n";
        std::string region = "\"startLine\": " + std::to_string(finding.Line);
        if (finding.Column != 0)
            region += ", \"startColumn\": " + std::to_string(finding.Column);
        sarif += "        {\"ruleId\": " + JsonString(finding.Rule) +
                 RuleIndexMember(finding.Rule) + ", \"level\": \"";
        sarif.append(SeverityName(finding.Severity));
        sarif += "\", \"message\": {\"text\": " + JsonString(finding.Message) +
                 "}, \"locations\": [{\"physicalLocation\": {\"artifactLocation\": {\"uri\": " +
                 JsonString(UriOf(finding.File)) + "}, \"region\": {" + region + "}}";
        if (!finding.Scope.empty())
            sarif += ", \"logicalLocations\": [{\"name\": " + JsonString(finding.Scope) + "}]";
        sarif += "}]}";
    }
    sarif += findings.empty() ? "]\n" : "\n      ]\n";
    sarif += "    }\n  ]\n}\n";
    return sarif;
}

std::string FormatFindings(TReportFormat format, const std::vector<RCheckFinding>& findings)
{
    switch (format) {
    case TReportFormat::Json:
        return FindingsAsJson(findings);
    case TReportFormat::Sarif:
        return FindingsAsSarif(findings);
    case TReportFormat::Text:
        break;
    }
    return FindingsAsText(findings);
}
