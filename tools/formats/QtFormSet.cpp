#include "QtFormSet.h"

#include "GtkBuilder.h"
#include "InterfaceFolder.h"

TQtFormSet::TQtFormSet(const std::string& folder)
{
    ForEachInterfaceFile(folder, "forms", [&](const std::string& name, std::string_view bytes) {
        // A project may hold GTK interface files too: they are no forms of its Qt classes.
        if (IsGtkBuilderFile(bytes))
            return;
        FForms.push_back(ReadQtForm(bytes, name));
        FByClass.emplace(FForms.back().ClassName, &FForms.back());
    });
}
