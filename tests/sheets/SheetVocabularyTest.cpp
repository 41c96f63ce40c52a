// The vocabulary that the sheet author's guide lists is what the sheet classes
// really publish: the guide's list is written out here from the classes
// themselves and must match it word for word.
#include "platform/components/ClassRegistry.h"
#include "platform/components/Component.h"
#include "platform/components/Reflection.h"
#include "sheets/SheetClasses.h"
#include "support/GuideBlocks.h"

#include <QMetaProperty>
#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace {

// The ten classes the program registers for sheets, and the menu item that the
// widget layer registers by itself.
const char* const SheetElements[] = {"Form",     "Button",   "Label",       "Bevel",
                                     "Edit",     "SpinEdit", "ComboBox",    "GroupBox",
                                     "PageControl", "TabSheet", "MenuItem"};

QString quoted(const char* name) {
    return QStringLiteral("`%1`").arg(QString::fromLatin1(name));
}

// Integer limits narrower than 32 bits, as the guide shows them.
QString limitsOf(const QMetaProperty& property) {
    const QMetaObject* meta = property.enclosingMetaObject();
    const int info = meta->indexOfClassInfo(QByteArray("Range:").append(property.name()));
    if (info >= 0)
        return QStringLiteral(" (%1)").arg(QString::fromLatin1(meta->classInfo(info).value()));
    switch (property.metaType().id()) {
    case QMetaType::Short:
        return QStringLiteral(" (-32768..32767)");
    case QMetaType::UShort:
        return QStringLiteral(" (0..65535)");
    case QMetaType::UChar:
        return QStringLiteral(" (0..255)");
    default:
        return {};
    }
}

struct ClassVocabulary {
    // Kind heading -> the properties of that kind, in publishing order.
    std::map<int, QStringList> byKind;
    QStringList events;
};

enum KindGroup { Text, Integer, Truth, Enumeration, Set, Character, Fixed };

const char* const KindHeadings[] = {"text",          "integer",        "True/False",
                                    "enumeration",   "set",            "character code",
                                    "not settable"};

// The enumeration and set types met on the way, with their elements in order.
using TypeList = std::map<QString, QString>;

QString elementsOf(const QMetaEnum& enumeration) {
    QStringList elements;
    for (int i = 0; i < enumeration.keyCount(); ++i)
        elements.append(quoted(enumeration.key(i)));
    return elements.join(QStringLiteral(", "));
}

void describe(const TComponent& instance, const QMetaProperty& property, ClassVocabulary& into,
              TypeList& types) {
    const QByteArray name = property.name();
    QString entry = quoted(name.constData());
    switch (PropType(&instance, name)) {
    case TypeKind::Method:
        into.events.append(entry);
        return;
    case TypeKind::LString:
    case TypeKind::String:
    case TypeKind::WString:
        into.byKind[Text].append(entry);
        return;
    case TypeKind::Integer:
        into.byKind[Integer].append(entry + limitsOf(property));
        return;
    case TypeKind::Char:
    case TypeKind::WChar:
        into.byKind[Character].append(entry + limitsOf(property));
        return;
    case TypeKind::Enumeration: {
        if (property.metaType().id() == QMetaType::Bool) {
            into.byKind[Truth].append(entry);
            return;
        }
        const QMetaEnum type = property.enumerator();
        const QString typeName = QString::fromLatin1(type.enumName());
        types[typeName] = elementsOf(type);
        into.byKind[Enumeration].append(entry + QStringLiteral(" (%1)").arg(typeName));
        return;
    }
    case TypeKind::Set: {
        const QMetaEnum type = property.enumerator();
        const QString typeName = QString::fromLatin1(type.enumName());
        types[typeName] = elementsOf(type);
        into.byKind[Set].append(entry + QStringLiteral(" (of %1)").arg(typeName));
        return;
    }
    default:
        into.byKind[Fixed].append(entry);
        return;
    }
}

QString ancestryOf(const QMetaObject& meta) {
    QStringList names;
    for (const QMetaObject* ancestor = meta.superClass();
         ancestor && ancestor != &QObject::staticMetaObject; ancestor = ancestor->superClass())
        names.append(QString::fromLatin1(ancestor->className()));
    return names.join(QStringLiteral(", "));
}

// The guide's vocabulary part: one paragraph per sheet element, then the types.
QString writtenVocabulary() {
    RegisterSheetClasses();
    QString text;
    TypeList types;
    for (const char* element : SheetElements) {
        const ComponentClass& meta = FindClass(QByteArray("T").append(element));
        std::unique_ptr<TComponent> instance(CreateComponent(meta, nullptr));
        ClassVocabulary vocabulary;
        for (int i = QObject::staticMetaObject.propertyCount(); i < meta.propertyCount(); ++i)
            describe(*instance, meta.property(i), vocabulary, types);

        text += QStringLiteral("**%1** (%2; from %3)\n\n")
                    .arg(quoted(element), QString::fromLatin1(meta.className()), ancestryOf(meta));
        for (const auto& [kind, names] : vocabulary.byKind)
            text += QStringLiteral("- %1: %2\n")
                        .arg(QString::fromLatin1(KindHeadings[kind]), names.join(QStringLiteral(", ")));
        text += QStringLiteral("- events: %1\n\n")
                    .arg(vocabulary.events.isEmpty() ? QStringLiteral("none")
                                                     : vocabulary.events.join(QStringLiteral(", ")));
    }
    text += QStringLiteral("| Type | Elements, in order |\n|---|---|\n");
    for (const auto& [name, elements] : types)
        text += QStringLiteral("| `%1` | %2 |\n").arg(name, elements);
    return text;
}

} // namespace

TEST(SheetVocabulary, GuideListsWhatEverySheetClassPublishes) {
    const QStringList parts = GuideBlocks::named(GuideBlocks::guide(), QStringLiteral("vocabulary"));
    ASSERT_EQ(parts.size(), 1) << "the guide has no vocabulary part";
    const QString written = writtenVocabulary();
    EXPECT_EQ(parts.first(), written) << "the classes publish:\n" << written.toStdString();
}
