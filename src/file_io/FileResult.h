#pragma once

#include <QString>
#include <optional>
#include <utility>
#include <variant>

// Outcome of a file or folder operation: success (with a value, where the operation gives one)
// or the system's reason for the failure, as text to show or print.
//
//   FileResult<> saved = saveWholeFile(path, bytes);     // success or a reason
//   FileResult<QString> folder = drives.currentFolder(d); // a folder or a reason
template <typename T = std::monostate> class [[nodiscard]] FileResult {
public:
    // Success without a value.
    FileResult() requires std::is_same_v<T, std::monostate> : value_(std::in_place) {}
    // Success with a value.
    FileResult(T value) requires(!std::is_same_v<T, std::monostate>) : value_(std::move(value)) {}

    static FileResult failure(QString reason)
    {
        FileResult result(Failed{});
        result.reason_ = std::move(reason);
        return result;
    }
    // Takes the reason of a failed result of another kind.
    template <typename U> static FileResult failure(const FileResult<U>& other)
    {
        return failure(other.reason());
    }

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    // The value of a successful result.
    const T& value() const { return *value_; }
    T& value() { return *value_; }
    // The system's reason for a failure; "" on success.
    const QString& reason() const { return reason_; }

private:
    struct Failed {};
    explicit FileResult(Failed) {}

    std::optional<T> value_;
    QString reason_;
};
