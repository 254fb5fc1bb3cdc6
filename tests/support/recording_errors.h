// Test doubles for the error manager: a sink that records every message
// instead of showing it, and a halt handler that records the end of the
// program instead of ending the test.
#pragma once

#include <string>
#include <vector>

#include "framework/error_class.h"

namespace kamo::testing {

class RecordingSink : public fw::MessageSink {
 public:
  void show(const fw::Message& m) override { messages.push_back(m); }
  std::vector<fw::Message> messages;
};

// Installs a recorder and a halt recorder on `errors` for the life of the object.
class RecordedErrors {
 public:
  explicit RecordedErrors(fw::ErrorClass& errors) : errors_(errors) {
    errors_.SetSink(&sink);
    fw::setHaltHandler([this](int code) { halts.push_back(code); });
  }
  ~RecordedErrors() {
    errors_.SetSink(nullptr);
    fw::setHaltHandler({});
  }
  RecordedErrors(const RecordedErrors&) = delete;
  RecordedErrors& operator=(const RecordedErrors&) = delete;

  const std::vector<fw::Message>& messages() const { return sink.messages; }
  RecordingSink sink;
  std::vector<int> halts;

 private:
  fw::ErrorClass& errors_;
};

}  // namespace kamo::testing
