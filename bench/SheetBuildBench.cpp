// Building a 500-widget sheet (a form with a page control of five pages, each
// with 49 labels and 49 edits, and three buttons): the program's builder from
// the sheet's XML text against QUiLoader building the equivalent .ui form.
// Both include parsing, creation, property setting and freeing.
#include "script/ComponentObjects.h"
#include "diagnostics/DiagnosticLog.h"
#include "platform/xml/TXMLDocument.h"
#include "script/TScript.h"
#include "sheets/SheetClasses.h"
#include "sheets/SheetContext.h"
#include "sheets/TScriptNodeObject.h"
#include "tests/sheets/SheetScriptRig.h"

#include <QApplication>
#include <QBuffer>
#include <benchmark/benchmark.h>

#ifdef KONFIDOR_BENCH_QUILOADER
#include <QUiLoader>
#include <QWidget>
#endif

namespace {

constexpr int Pages = 5;
constexpr int RowsPerPage = 49;

QByteArray SheetText() {
    QByteArray text = R"(<S type="B" version="1"><Form Name="fBench" Caption="Bench" )"
                      R"(ClientWidth="640" ClientHeight="520"><PageControl Name="pc" Left="8" )"
                      R"(Top="8" Width="624" Height="470">)";
    for (int page = 0; page < Pages; ++page) {
        text += QByteArray(R"(<TabSheet Name="ts%1" Caption="Strana %1">)")
                    .replace("%1", QByteArray::number(page));
        for (int row = 0; row < RowsPerPage; ++row) {
            const QByteArray id = QByteArray::number(page * 100 + row);
            const QByteArray top = QByteArray::number(8 + row * 9);
            text += R"(<Label Name="l)" + id + R"(" Left="8" Top=")" + top +
                    R"(" Caption="Hodnota )" + id + R"(:"/>)";
            text += R"(<Edit Name="e)" + id + R"(" Left="160" Top=")" + top +
                    R"(" Width="120" Text=")" + id + R"("/>)";
        }
        text += "</TabSheet>";
    }
    text += "</PageControl>";
    for (int button = 0; button < 3; ++button)
        text += R"(<Button Name="b)" + QByteArray::number(button) + R"(" Left=")" +
                QByteArray::number(400 + button * 80) + R"(" Top="488" Caption="Tlacitko"/>)";
    return text + "</Form></S>";
}

void SheetBuilder(benchmark::State& state) {
    RegisterSheetClasses();
    const QByteArray text = SheetText();
    TXMLDocument device;
    TXMLDocument sheet;
    SheetRegistry registry;
    SheetHost host(registry);
    ComponentObjects objects;
    TScript script(host, objects, nullptr);
    for (auto _ : state) {
        // A fresh log each round, so that rounds do not differ by its size.
        DiagnosticLog log;
        const SheetContext context{device, sheet, registry, log, script, {}, {}, {}};
        sheet.loadFromBytes(text);
        TScriptNodeObject::Create(context, sheet.documentElement().childNodes().first(), nullptr);
        if (registry.Count() != 500)
            state.SkipWithError("the sheet did not build 500 widgets");
        registry.DestroySheetComponents();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(SheetBuilder)->Unit(benchmark::kMillisecond);

#ifdef KONFIDOR_BENCH_QUILOADER
QByteArray UiText() {
    auto geometry = [](int x, int y, int w, int h) {
        return QByteArray("<property name=\"geometry\"><rect><x>%1</x><y>%2</y><width>%3</width>"
                          "<height>%4</height></rect></property>")
            .replace("%1", QByteArray::number(x))
            .replace("%2", QByteArray::number(y))
            .replace("%3", QByteArray::number(w))
            .replace("%4", QByteArray::number(h));
    };
    auto string = [](const char* name, const QByteArray& value) {
        return QByteArray("<property name=\"") + name + "\"><string>" + value +
               "</string></property>";
    };
    QByteArray ui = "<ui version=\"4.0\"><class>fBench</class>"
                    "<widget class=\"QWidget\" name=\"fBench\">" +
                    geometry(0, 0, 640, 520) + string("windowTitle", "Bench") +
                    "<widget class=\"QTabWidget\" name=\"pc\">" + geometry(8, 8, 624, 470);
    for (int page = 0; page < Pages; ++page) {
        const QByteArray p = QByteArray::number(page);
        ui += "<widget class=\"QWidget\" name=\"ts" + p +
              "\"><attribute name=\"title\"><string>Strana " + p + "</string></attribute>";
        for (int row = 0; row < RowsPerPage; ++row) {
            const QByteArray id = QByteArray::number(page * 100 + row);
            const int top = 8 + row * 9;
            ui += "<widget class=\"QLabel\" name=\"l" + id + "\">" + geometry(8, top, 140, 13) +
                  string("text", "Hodnota " + id + ":") + "</widget>";
            ui += "<widget class=\"QLineEdit\" name=\"e" + id + "\">" +
                  geometry(160, top, 120, 21) + string("text", id) + "</widget>";
        }
        ui += "</widget>";
    }
    ui += "</widget>";
    for (int button = 0; button < 3; ++button)
        ui += "<widget class=\"QPushButton\" name=\"b" + QByteArray::number(button) + "\">" +
              geometry(400 + button * 80, 488, 75, 25) + string("text", "Tlacitko") + "</widget>";
    return ui + "</widget></ui>";
}

void UiLoader(benchmark::State& state) {
    QByteArray text = UiText();
    QUiLoader loader;
    for (auto _ : state) {
        QBuffer buffer(&text);
        buffer.open(QIODevice::ReadOnly);
        QWidget* form = loader.load(&buffer);
        if (!form || form->findChildren<QWidget*>().size() < 499)
            state.SkipWithError("QUiLoader did not build the form");
        delete form;
        QCoreApplication::processEvents();
    }
}
BENCHMARK(UiLoader)->Unit(benchmark::kMillisecond);
#endif

} // namespace

