// Form-file throughput on a form of 10,000 components with 10 stored
// properties each: conversion both ways (bytes per second) and reading with
// component creation (property values per second).
#include <benchmark/benchmark.h>

#include "platform/core/Classes.h"
#include "platform/stream/Reader.h"
#include "platform/stream/TextForm.h"
#include "platform/stream/Writer.h"

using namespace ld;

namespace {

enum TBenchAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

const TEnumInfo& BenchAlignInfo()
{
    static const TEnumInfo info{"TBenchAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}};
    return info;
}

const TIntegerIdents& BenchColors()
{
    static const TIntegerIdents idents{"TBenchColor", {{int32_t(0x8000000F), "clBtnFace"}, {0xFFFFFF, "clWhite"}}};
    return idents;
}

class TBenchControl : public TComponent {
    LD_CLASS(TBenchControl, TComponent)
    explicit TBenchControl(TComponent* owner) : TComponent(owner) {}
    Integer GetLeft() const { return FLeft; }
    void SetLeft(Integer v) { FLeft = v; }
    Integer GetTop() const { return FTop; }
    void SetTop(Integer v) { FTop = v; }
    Integer GetWidth() const { return FWidth; }
    void SetWidth(Integer v) { FWidth = v; }
    Integer GetHeight() const { return FHeight; }
    void SetHeight(Integer v) { FHeight = v; }
    const std::string& GetCaption() const { return FCaption; }
    void SetCaption(const std::string& v) { FCaption = v; }
    const std::string& GetHint() const { return FHint; }
    void SetHint(const std::string& v) { FHint = v; }
    bool GetVisible() const { return FVisible; }
    void SetVisible(bool v) { FVisible = v; }
    TBenchAlign GetAlign() const { return FAlign; }
    void SetAlign(TBenchAlign v) { FAlign = v; }
    Integer GetColor() const { return FColor; }
    void SetColor(Integer v) { FColor = v; }
    void GetChildren(const TGetChildProc& proc, TComponent*) override
    {
        for (Integer i = 0; i < ComponentCount(); ++i)
            proc(Components(i));
    }
    TComponent* GetChildOwner() override { return this; }

    Integer FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    std::string FCaption, FHint;
    bool FVisible = true;
    TBenchAlign FAlign = alNone;
    Integer FColor = int32_t(0x8000000F);
};

TClass TBenchControl::StaticClass()
{
    static const TClassInfo info =
        TClassBuilder<TBenchControl>("TBenchControl", TComponent::StaticClass())
            .Integer("Left", &TBenchControl::GetLeft, &TBenchControl::SetLeft)
            .Integer("Top", &TBenchControl::GetTop, &TBenchControl::SetTop)
            .Integer("Width", &TBenchControl::GetWidth, &TBenchControl::SetWidth)
            .Integer("Height", &TBenchControl::GetHeight, &TBenchControl::SetHeight)
            .String("Caption", &TBenchControl::GetCaption, &TBenchControl::SetCaption)
            .String("Hint", &TBenchControl::GetHint, &TBenchControl::SetHint)
            .Boolean("Visible", &TBenchControl::GetVisible, &TBenchControl::SetVisible)
            .Default(true)
            .Enum("Align", &TBenchControl::GetAlign, &TBenchControl::SetAlign, BenchAlignInfo())
            .Default(alNone)
            .Integer("Color", &TBenchControl::GetColor, &TBenchControl::SetColor)
            .Idents(BenchColors())
            .Default(int32_t(0x8000000F));
    return &info;
}

constexpr int Components = 10000;
constexpr int PropertiesEach = 10; // Tag and the nine above, all stored

// A root owning 10,000 controls, each with all ten properties off their defaults.
const std::string& FormBinary()
{
    static const std::string binary = [] {
        RegisterClass(TBenchControl::StaticClass());
        TBenchControl root(nullptr);
        root.SetName("Form1");
        for (int i = 0; i < Components; ++i) {
            auto* c = new TBenchControl(&root);
            c->SetName("Control" + std::to_string(i));
            c->SetLeft(i % 1000);
            c->SetTop(i * 3);
            c->SetWidth(75);
            c->SetHeight(25 + i % 7);
            c->SetCaption("Caption of control " + std::to_string(i));
            c->SetHint("Hint");
            c->SetVisible(false);
            c->SetAlign(static_cast<TBenchAlign>(1 + i % 5));
            c->SetColor(i % 2 ? 0xFFFFFF : 0x123456);
            c->SetTag(i);
        }
        TMemoryStream stream;
        {
            TWriter writer(&stream);
            writer.WriteRootComponent(&root);
        }
        return stream.DataString();
    }();
    return binary;
}

const std::string& FormText()
{
    static const std::string text = BinaryToText(FormBinary());
    return text;
}

void BM_TextToBinary(benchmark::State& state)
{
    const std::string& text = FormText();
    for (auto _ : state)
        benchmark::DoNotOptimize(TextToBinary(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_TextToBinary)->Unit(benchmark::kMillisecond);

void BM_BinaryToText(benchmark::State& state)
{
    const std::string& binary = FormBinary();
    for (auto _ : state)
        benchmark::DoNotOptimize(BinaryToText(binary));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(binary.size()));
}
BENCHMARK(BM_BinaryToText)->Unit(benchmark::kMillisecond);

void BM_ReadBinaryCreate(benchmark::State& state)
{
    const std::string& binary = FormBinary();
    for (auto _ : state) {
        TPointerStream stream(binary.data(), static_cast<Int64>(binary.size()));
        TReader reader(&stream);
        TComponent* root = reader.ReadRootComponent(nullptr);
        if (root->ComponentCount() != Components)
            state.SkipWithError("wrong component count");
        state.PauseTiming();
        root->Free();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * Components * PropertiesEach);
}
BENCHMARK(BM_ReadBinaryCreate)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
