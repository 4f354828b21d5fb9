#pragma once

// Scopes: the captions among which keys must differ (a menu bar, one menu, one dialog), each
// with the keys already taken from outside it. Assignment, explanation, kept markers and the
// check all work on one scope under any key rule; a document is a list of scopes, and every
// finding names the scope it belongs to.

#include "KeyRule.h"
#include "Lint.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct RScope
{
    std::string Name; // how messages name the scope; empty for a caption list file
    std::vector<std::string> Captions;
    // Keys no caption of the scope may take (say, a dialog's buttons seen from a tab page), as
    // the rule gives them: IKeyRule::CharAt(...).Key.
    std::vector<TKey> OutsideKeys;
};

struct RKeyed
{
    std::string Caption; // with its marker
    TKey Key = 0;

    bool operator==(const RKeyed&) const = default;
};

// Where a caption's markers stand, pairs taken strictly left to right; the marked character's
// key under the rule when exactly one sound marker marks a character that can be a key.
struct RScopeMarkers
{
    RMarkers Markers;
    std::optional<TKey> PinnedKey;
};
RScopeMarkers ScanScopeMarkers(std::string_view caption, const IKeyRule& rule, char marker);

// The candidates of every caption without the scope's outside keys.
std::vector<std::vector<RKeyCandidate>> ScopeCandidates(const RScope& scope, const IKeyRule& rule);

// The first assignment the depth-first search would meet (captions in order, candidates in
// rule order, outside keys out of play), or none.
std::optional<std::vector<RKeyed>> AssignScope(const RScope& scope, const IKeyRule& rule,
                                               char marker);

// AssignScope for scope after scope of one document: the candidates, the numbering of their
// keys and the result strings keep their room from one scope to the next, so that thousands of
// menus and dialogs are assigned with next to no allocation.
class TScopeAssigner
{
public:
    TScopeAssigner(const IKeyRule& rule, char marker);
    ~TScopeAssigner();
    TScopeAssigner(const TScopeAssigner&) = delete;
    TScopeAssigner& operator=(const TScopeAssigner&) = delete;

    // AssignScope's answer: true with one result per caption in `results`, whose strings are
    // reused; false, `results` left as they were, when there is none.
    bool Assign(const RScope& scope, std::vector<RKeyed>& results);

private:
    struct RBuffers;
    const IKeyRule& FRule;
    char FMarker;
    std::unique_ptr<RBuffers> FBuffers;
};

struct RScopeFinding
{
    std::size_t Scope = 0;   // index in the document
    std::size_t Caption = 0; // index in the scope
    TFindingKind Kind = TFindingKind::NoMarker;
    std::size_t Pos = 0;   // byte of the marker concerned (the first one for SeveralMarkers)
    std::string Char;      // MarkerBeforeNonKey: the bytes of the marked character
    std::size_t Count = 0; // SeveralMarkers: how many
    TKey Key = 0;          // DuplicateKey
    // DuplicateKey: every caption of the scope whose marker gives the key, ascending.
    std::vector<std::size_t> SameKey;
    bool TakenOutside = false; // DuplicateKey: the key is one of the scope's outside keys

    bool operator==(const RScopeFinding&) const = default;
};

// Every finding of one scope, ordered by caption and, within one caption, in the order of
// TFindingKind. A key marked on several captions is reported on each caption after the first
// (on every one of them when the key is taken from outside).
std::vector<RScopeFinding> CheckScope(const RScope& scope, const IKeyRule& rule, char marker,
                                      std::size_t scopeIndex = 0);
std::vector<RScopeFinding> CheckScopes(const std::vector<RScope>& scopes, const IKeyRule& rule,
                                       char marker);

// One line of text for a finding as a caption list names it ("key 'P' is also used on line
// 6"), line numbers counted from 1.
std::string DescribeScopeFinding(const RScopeFinding& finding, const IKeyRule& rule, char marker);

struct RScopeKeeping
{
    // What stops markers from being kept: the CheckScope findings without NoMarker.
    std::vector<RScopeFinding> Conflicts;
    bool Assigned = false;
    std::vector<RKeyed> Results; // one per caption when assigned
};

// A caption with exactly one sound marker keeps it; the others get the first assignment around
// those keys and the outside keys. Nothing is assigned while there are conflicts.
RScopeKeeping AssignScopeKeepingPins(const RScope& scope, const IKeyRule& rule, char marker,
                                     std::size_t scopeIndex = 0);

struct RScopeDiagnosis
{
    std::size_t MaxDistinct = 0;
    std::vector<std::size_t> WithoutKeys; // captions with no key left
    std::vector<std::size_t> Group;       // see RDiagnosis
    std::vector<TKey> GroupKeys;          // ascending
};

// Why AssignScope (keepPins: AssignScopeKeepingPins without conflicts) finds nothing.
RScopeDiagnosis ExplainScope(const RScope& scope, const IKeyRule& rule, char marker, bool keepPins);

// Mending a scope by moving as few markers as possible. The captions to mend are those whose
// markers conflict or are malformed, and captions without a marker that want a key. Of the sound
// markers, the largest set that still leaves every caption to mend a key of its own stays
// (decided exactly; among equally large sets, earlier captions keep theirs), and the captions
// to mend get the first assignment the depth-first search meets around those keys.
struct RScopeFix
{
    bool Fixed = false;                    // false: no complete assignment exists; nothing changes
    std::vector<std::string> Captions;     // when fixed: every caption, changed or not
    std::vector<std::optional<TKey>> Keys; // the key each caption ends with, if any
    std::vector<bool> Changed;
};

// wantsKey[i]: caption i must get a key even when it carries no marker (a menu entry); missing
// entries count as false. A malformed caption loses its stray markers (a doubled marker stays
// a literal character) and is then assigned like any caption to mend. preferredSuffixes[i]: the
// Latin letter or digit (upper case) whose "(&X)" suffix caption i tries first among its
// suffixes, such as the key of the text it translates; 0 or missing entries keep the rule's
// order.
RScopeFix FixScope(const RScope& scope, const IKeyRule& rule, char marker,
                   const std::vector<bool>& wantsKey,
                   const std::vector<char>& preferredSuffixes = {});

// The mending split in two, for callers that choose the new keys their own way: which captions
// take part and which sound markers stay (exactly as FixScope decides), then the captions
// written from the keys chosen for the others.
struct RFixNeed
{
    std::size_t Caption = 0;
    std::optional<TKey> Pin; // the key of its one sound marker
    std::string Text;        // without markers
    std::vector<RKeyCandidate> Candidates;
    bool Kept = false;    // its marker stays
    bool Keyless = false; // it should carry no key: a sound marker may stay, none is added
};

struct RScopeFixPlan
{
    std::vector<RFixNeed> Needs;
    std::vector<TKey> Taken; // the outside keys and the kept ones
};

// keyless[i]: caption i should carry no key (a dialog's "OK" under the guidelines): it keeps a
// sound marker that the others leave room for, else loses its markers, and never gets a new
// one. Keyless captions never stop the others from keeping theirs. preferredSuffixes as for
// FixScope.
RScopeFixPlan PlanScopeFix(const RScope& scope, const IKeyRule& rule, char marker,
                           const std::vector<bool>& wantsKey, const std::vector<bool>& keyless = {},
                           const std::vector<char>& preferredSuffixes = {});

// The fix for a plan: mended[n] is the candidate need n takes, for the needs not kept; a need
// without one ends without a key.
RScopeFix ApplyScopeFix(const RScope& scope, const RScopeFixPlan& plan, char marker,
                        const std::vector<std::optional<RKeyCandidate>>& mended);

// The text of a caption without its single markers, a lone one at the end included; doubled
// markers stay as they are.
std::string WithoutMarkers(std::string_view caption, const RMarkers& markers);
