// Loading a 1 MB device configuration: the program's own document against
// QDomDocument::setContent and a bare QXmlStreamReader token scan of the same
// bytes, which is the floor any loader built on that reader can reach.
#include "platform/Win1250.h"
#include "platform/xml/TXMLDocument.h"

#include <QDomDocument>
#include <QXmlStreamReader>
#include <benchmark/benchmark.h>

namespace {

// A device document as the receive path stores it: Windows-1250, CR LF line
// ends, one element per line, many groups with attributes.
QByteArray deviceDocument() {
    QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n<XML>\r\n"
                                  "<DEVICE type=\"KONV-485\" version=\"2.1\"/>\r\n");
    for (int group = 0; text.size() < (1 << 20); ++group) {
        text += QStringLiteral(
                    "<GROUP name=\"Port %1\" index=\"%1\" enabled=\"1\">\r\n"
                    "<COM baud=\"9600\" parity=\"N\" bits=\"8\" stop=\"1\" delay=\"20\"/>\r\n"
                    "<NET ip=\"10.0.%1.2\" mask=\"255.255.255.0\" gateway=\"10.0.%1.1\" "
                    "port=\"10001\" dhcp=\"0\"/>\r\n"
                    "<INFO name=\"Čerpadlo %1 – kotelna\" location=\"Hala Ústí, sklad č. %1\" "
                    "note=\"A&amp;B\">Poznámka</INFO>\r\n"
                    "</GROUP>\r\n")
                    .arg(group);
    }
    text += QStringLiteral("</XML>\r\n");
    return Win1250::fromWide(text);
}

const QByteArray& document() {
    static const QByteArray bytes = deviceDocument();
    return bytes;
}

void TXMLDocumentLoad(benchmark::State& state) {
    for (auto _ : state) {
        TXMLDocument loaded;
        loaded.loadFromBytes(document());
        benchmark::DoNotOptimize(loaded.documentElement());
    }
    state.SetBytesProcessed(state.iterations() * document().size());
}
BENCHMARK(TXMLDocumentLoad)->Unit(benchmark::kMillisecond);

void QDomDocumentSetContent(benchmark::State& state) {
    for (auto _ : state) {
        QDomDocument dom;
        if (!dom.setContent(document()))
            state.SkipWithError("QDomDocument rejected the document");
        benchmark::DoNotOptimize(dom.documentElement());
    }
    state.SetBytesProcessed(state.iterations() * document().size());
}
BENCHMARK(QDomDocumentSetContent)->Unit(benchmark::kMillisecond);

void QXmlStreamReaderScan(benchmark::State& state) {
    for (auto _ : state) {
        QXmlStreamReader reader(document());
        qsizetype tokens = 0;
        while (!reader.atEnd()) {
            reader.readNext();
            ++tokens;
        }
        if (reader.hasError())
            state.SkipWithError("QXmlStreamReader rejected the document");
        benchmark::DoNotOptimize(tokens);
    }
    state.SetBytesProcessed(state.iterations() * document().size());
}
BENCHMARK(QXmlStreamReaderScan)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
