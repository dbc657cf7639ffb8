#pragma once

#include <string>

namespace vellmora {

/// How a save or an open of a document file ended. On failure, message is the text shown
/// to the user and reason the system's account of it (for logs and the batch front end).
struct FileOutcome {
    bool ok = true;
    std::string message;
    std::string reason;

    explicit operator bool() const { return ok; }

    static FileOutcome success() { return {}; }
    static FileOutcome failure(std::string message, std::string reason = {}) {
        return {false, std::move(message), std::move(reason)};
    }
};

}  // namespace vellmora
