#pragma once
// Regular expression matching through the scripting regular expression component, driven by
// member name. When the component cannot be created (it is an optional, retiring feature of the
// system) the object uses the in-process engine instead, dressed with the same members.
//
// Each object initialises COM on its thread when made and uninitialises it when destroyed, so it
// must be made, used and destroyed on one thread. Match and group numbers count from 1.
#include "text/Param.h"
#include "text/RegexDispatch.h"

enum class RegexEngineChoice {
  Component,  // the system component, or the in-process engine when it cannot be created
  InProcess,  // always the in-process engine
};

class RegexObject {
 public:
  explicit RegexObject(RegexEngineChoice choice = RegexEngineChoice::Component);
  // Further references to the same engine and matches, its own copy of the subject.
  RegexObject(const RegexObject& other);
  RegexObject& operator=(const RegexObject&) = delete;
  ~RegexObject();

  // Case is ignored unless caseSensitive; multiline and global default to true; "#引号" in the
  // pattern becomes a double quote when expandQuoteMarker. True when a match collection came back.
  bool Create(const Text& pattern, const Text& subject, Param<bool> caseSensitive = {},
              Param<bool> multiline = {}, Param<bool> global = {}, Param<bool> expandQuoteMarker = {});
  int MatchCount() const;
  // With `position`, also stores where the group text is found in the subject, searching from the
  // match's index: the 0-based byte position, or -2 when it is not found.
  Text SubMatchText(int match, int group, int* position = nullptr) const;
  Text MatchText(int match) const;
  ComRef<IDispatch> GetEngine() const;
  void SetEngine(IDispatch* engine);
  bool TestText(const Text& text);
  Text GetPattern() const;
  static Text EscapeMetacharacters(const Text& text);
  // Group count of the first match, once ExecuteAndCount has found matches; 0 otherwise.
  int GroupCount() const;
  int ExecuteAndCount(const Text& text);
  Text ReplaceMatches(Param<Text> replacement = {}) const;
  int FirstMatchGroupCount() const;

 private:
  ComRef<IDispatch> Execute(const Text& text) const;
  ComRef<IDispatch> MatchAt(int match) const;
  int FirstMatchGroups() const;

  RegexEngineChoice choice_;
  bool comInitialised_;
  ComRef<IDispatch> engine_;
  ComRef<IDispatch> matches_;
  Text subject_;
  int matchCount_ = 0;
};
