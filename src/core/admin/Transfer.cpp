// Export and import of one user without a dialog: the questions are answered by --yes (or No),
// and every question and message is reported.
#include "admin/Store.h"

#include "app/ProgramPaths.h"
#include "data/Transfer.h"

namespace kalvintor::admin {

namespace {

data::TransferQuestions answering(const Context& context, bool yes) {
    std::ostream* err = &context.err;
    data::TransferQuestions q;
    q.askYesNo = [err, yes](const std::string& question) {
        *err << "kalvintor-admin: " << question << (yes ? " Yes." : " No (give --yes to answer Yes).")
             << '\n';
        return yes;
    };
    q.askYesNoCancel = [err, yes](const std::string& question) {
        *err << "kalvintor-admin: " << question << (yes ? " Yes." : " No (give --yes to answer Yes).")
             << '\n';
        return yes ? data::Answer::Yes : data::Answer::No;
    };
    q.showMessage = [err](const std::string& text) { *err << "kalvintor-admin: " << text << '\n'; };
    return q;
}

int outcome(const Context& context, data::TransferResult result, const std::string& done) {
    switch (result) {
        case data::TransferResult::Done:
            context.out << done << '\n';
            return kExitOk;
        case data::TransferResult::Stopped:
            context.err << "kalvintor-admin: stopped; nothing more was done\n";
            return kExitFailed;
        case data::TransferResult::Failed:
            break;
    }
    context.err << "kalvintor-admin: the transfer did not complete (see above)\n";
    return kExitFailed;
}

}  // namespace

int exportUser(const Context& context, const TransferOptions& options) {
    auto store = openStore(context);
    if (!store) return kExitFailed;
    store->LoadUsers();
    const auto* user = findUser(*store, options.user);
    if (!user) {
        context.err << "kalvintor-admin: no user \"" << options.user << "\"\n";
        return kExitFailed;
    }
    const auto result =
        data::ExportUser(*store, user->record, options.folder, answering(context, options.yes));
    return outcome(context, result,
                   "Exported " + user->record.loginName + " to " + options.folder.string() + ".");
}

int importUser(const Context& context, const TransferOptions& options) {
    auto store = openStore(context);
    if (!store) return kExitFailed;
    store->LoadUsers();
    auto* user = findUser(*store, options.user);
    if (!user) {
        context.err << "kalvintor-admin: no user \"" << options.user << "\"\n";
        return kExitFailed;
    }
    store->setSelectedUser(user);
    // A tutor found nowhere is placed where the program's setup dialogs look for this user.
    const auto paths = app::makeProgramPaths(context.programDir);
    const data::TransferDirectories dirs{paths.programDir,
                                         app::setupDirectory(paths, user->record.privateDirectory)};
    const auto result = data::ImportUser(*store, options.folder, dirs, answering(context, options.yes));
    return outcome(context, result,
                   "Imported " + options.folder.string() + " into " + user->record.loginName + ".");
}

}  // namespace kalvintor::admin
