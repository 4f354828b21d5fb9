#pragma once

// What check finds, as data, and the ways of printing it: GCC-style text lines (the default,
// for people and editors), JSON (for scripts) and SARIF 2.1.0 (for code-scanning services).

#include "Lint.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

enum class TSeverity
{
    Error,
    Warning,
    Note,
};

struct RCheckFinding
{
    std::string File;
    std::uint32_t Line = 1;
    std::uint32_t Column = 0; // 0: the file counts lines only (a caption list)
    std::string Scope;        // empty: no scope (a caption list, a note on the whole file)
    std::string Rule;         // one of CheckRules()
    std::string Message;
    TSeverity Severity = TSeverity::Error;
};

// A kind of finding: its stable id, which scripts and code-scanning services match on, and
// what it means.
struct RCheckRule
{
    std::string_view Id;
    std::string_view Description;
};

// Every rule check and fix report, in a fixed order.
std::span<const RCheckRule> CheckRules();

// The rule of a marker finding; takenOutside: a duplicate of a key an enclosing scope holds.
std::string_view RuleOf(TFindingKind kind, bool takenOutside = false);

enum class TReportFormat
{
    Text,
    Json,
    Sarif,
};

// "text", "json" or "sarif"; nullopt for any other name.
std::optional<TReportFormat> ReportFormatNamed(std::string_view name);

// One line per finding: FILE:LINE:COL: severity: message [scope] (without " [scope]" when
// there is none), or FILE:LINE: message for a file that counts lines only.
std::string FindingsAsText(const std::vector<RCheckFinding>& findings);
// An array of one object per finding: file, line, column (null for lines only), scope (null
// for none), rule, message, severity.
std::string FindingsAsJson(const std::vector<RCheckFinding>& findings);
// A SARIF 2.1.0 log of one run of quarnel-cli: its rules, and one result per finding.
std::string FindingsAsSarif(const std::vector<RCheckFinding>& findings);

std::string FormatFindings(TReportFormat format, const std::vector<RCheckFinding>& findings);
