#include "ProgramModules.h"

#include "core/services/Form.h"

ProgramModules::ProgramModules(ProgramState& state, Form& form, const AppServices& services,
                               std::function<void()> unloadMainWindow)
    : registry(services.store), paths(services.programDirectory),
      stored(state, registry, services.messages, paths), end(state, stored, services.closeAllWindows),
      exists(services.lookups, services.messages, end, std::move(unloadMainWindow)),
      startup(state, form, exists, services.lookups, services.messages, paths), editor(state, services.shell),
      reader(state, channel, exists, services.messages),
      writer(state, form, channel, services.messages, services.clock, services.locale),
      commands(state, form, services.messages,
               FileCommands::Modules{exists, end, writer, reader, channel, services.lookups}),
      association(services.store), output(state, OutputViewer::Modules{registry, exists, services.lookups,
                                                                       services.messages, services.shell}),
      run(state, form,
          RunSubmission::Modules{registry, stored, exists, services.lookups, commands, output,
                                 services.messages, services.shell, paths}),
      examples(form.fileDialog(), editor, paths) {}
