// EEdException: the editor engine's exception classes.
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

// Error codes returned by the text store's operations (0 = success).
enum : int {
    edeNoMemory = 263,        // memory for text, a node or the clipboard not available
    edeRegionTooLarge = 264,  // the selection to copy is larger than 65,520 bytes
    edeParaLimit = 265,       // the paragraph count would exceed ParaLimit
    edeCannotJoin = 266,      // joining two paragraphs would exceed ParaLengthLimit
    edeByteLimit = 267,       // the byte count would exceed ByteLimit
    edeParaTooLong = 268,     // a paragraph would exceed ParaLengthLimit
};

// The message shown for an error code.
inline const char *EditorErrorMessage(int Code)
{
    switch (Code) {
    case edeNoMemory: return "insufficient memory for requested operation";
    case edeRegionTooLarge: return "Region is too large (> 64K)";
    case edeParaLimit: return "Current operation will exceed the maximum number of allowed paragraphs";
    case edeCannotJoin: return "Cannot join paragraphs. New paragraph size exceeds maximum paragraph size";
    case edeByteLimit: return "Current operation will exceed the maximum editor text size";
    case edeParaTooLong: return "Current operation will exceed the maximum paragraph size";
    default: return "Unknown Error condition";
    }
}

// Throws EEditorError with the code's message unless Code is 0.
inline void RaiseEditorError(int Code)
{
    if (Code != 0)
        throw EEditorError(EditorErrorMessage(Code), Code);
}
