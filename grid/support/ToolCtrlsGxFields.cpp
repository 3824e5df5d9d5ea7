// Field lists given as text, and field-type tests.
#include "ToolCtrlsGx.h"
#include "platform/db/DataSet.h"
#include <QObject>

bool IsNumberFieldType(TFieldType fieldType)
{
    switch (fieldType) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftFMTBcd:
        return true;
    default:
        return false;
    }
}

QStringList ExtractFieldNamesGx(const QString& names)
{
    QStringList out;
    for (const QString& part : names.split(u';')) {
        const QString name = part.trimmed();
        if (!name.isEmpty())
            out << name;
    }
    return out;
}

void GetFieldsByNames(TFieldsArrGx* list, TDataSet* dataSet, const QObject* component, const QString& names)
{
    TFieldsArrGx found;
    for (const QString& name : ExtractFieldNamesGx(names)) {
        TField* field = dataSet->FindField(name);
        if (!field) {
            QString message = QString::fromLatin1(DBText::FieldNotFound).arg(name);
            if (component && !component->objectName().isEmpty())
                message = component->objectName() + QStringLiteral(": ") + message;
            throw EDatabaseError(message);
        }
        found.push_back(field);
    }
    if (list)
        list->insert(list->end(), found.begin(), found.end());
}

TFieldsArrGx FieldsToArray(TDataSet* dataSet, const QObject* component, const QString& names)
{
    TFieldsArrGx out;
    GetFieldsByNames(&out, dataSet, component, names);
    return out;
}

void SetFieldsValue(TDataSet* dataSet, const QString& names, const Variant& value)
{
    const std::vector<TField*> fields = dataSet->GetFieldList(names);
    if (value.IsNull()) {
        for (TField* f : fields)
            f->Clear();
        return;
    }
    if (!value.IsArray()) {
        if (fields.size() != 1)
            throw EVariantError(QStringLiteral("Variant is not an array"));
        fields.front()->SetValue(value);
        return;
    }
    for (size_t i = 0; i < fields.size(); ++i)
        fields[i]->SetValue(value.ArrayItem(value.ArrayLowBound() + int(i)));
}
