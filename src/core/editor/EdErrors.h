// The editor engine's exception classes.
#pragma once

#include <stdexcept>
#include <string>

class EEdException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An engine error carrying one of the list's error codes (263..268) or 0.
class EEditorError : public EEdException {
public:
    explicit EEditorError(const std::string &Msg, int Code = 0) : EEdException(Msg), ErrorCode(Code) {}
    int Code() const { return ErrorCode; }

private:
    int ErrorCode;
};

class EInvalidLineOrPara : public EEditorError {
public:
    EInvalidLineOrPara() : EEditorError("Invalid line or paragraph index") {}
};

class EInvalidLineOrCol : public EEditorError {
public:
    EInvalidLineOrCol() : EEditorError("Invalid line or column") {}
};

class EOutOfMemory : public EEdException {
public:
    EOutOfMemory() : EEdException("insufficient memory for requested operation") {}
};
