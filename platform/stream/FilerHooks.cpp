// Gives the core classes their stream-layer parts: a component's ReadState and
// WriteState, and a string list's stored lines (the defined property "Strings").
#include "platform/core/FilerHooks.h"

#include "platform/core/Strings.h"
#include "platform/stream/Reader.h"
#include "platform/stream/Writer.h"

namespace ld {

namespace {

void ReadStrings(TStrings* strings, TReader* reader)
{
    reader->ReadListBegin();
    strings->BeginUpdate();
    try {
        strings->Clear();
        while (!reader->EndOfList())
            strings->Add(reader->ReadString());
        reader->ReadListEnd();
    } catch (...) {
        strings->EndUpdate();
        throw;
    }
    strings->EndUpdate();
}

void WriteStrings(TStrings* strings, TWriter* writer)
{
    writer->WriteListBegin();
    for (Integer i = 0; i < strings->Count(); ++i)
        writer->WriteString(strings->Get(i));
    writer->WriteListEnd();
}

void DefineStrings(TStrings* strings, TFiler* filer)
{
    filer->DefineProperty(
        "Strings", TReaderProc::Lambda([strings](TReader* r) { ReadStrings(strings, r); }),
        TWriterProc::Lambda([strings](TWriter* w) { WriteStrings(strings, w); }), strings->Count() > 0);
}

struct TInstallHooks {
    TInstallHooks()
    {
        TFilerHooks& hooks = FilerHooks();
        hooks.ReadData = [](TReader* reader, TComponent* instance) { reader->ReadData(instance); };
        hooks.WriteData = [](TWriter* writer, TComponent* instance) { writer->WriteData(instance); };
        hooks.DefineStrings = &DefineStrings;
    }
} installHooks;

} // namespace

} // namespace ld
