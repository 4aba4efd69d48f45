// The few places where core classes hand work to the stream layer above them:
// TComponent::ReadState / WriteState read and write a component's data, and
// TStrings stores its lines as the defined property "Strings". The stream library
// fills these in when it is loaded; whoever holds a TReader or TWriter has it loaded.
#pragma once

namespace ld {

class TComponent;
class TFiler;
class TReader;
class TStrings;
class TWriter;

struct TFilerHooks {
    void (*ReadData)(TReader* reader, TComponent* instance) = nullptr;
    void (*WriteData)(TWriter* writer, TComponent* instance) = nullptr;
    void (*DefineStrings)(TStrings* strings, TFiler* filer) = nullptr;
};

TFilerHooks& FilerHooks();

} // namespace ld
