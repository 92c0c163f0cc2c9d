#include "referencehost/MoveIntent.h"

int64_t RecordIntent(Database& db, const MoveIntent& intent) {
    db.Prepare("INSERT INTO move_intents DEFAULT VALUES").Run();
    const int64_t id = db.LastInsertId();
    Statement move = db.Prepare("INSERT INTO intent_moves VALUES(?, ?, ?, ?, ?)");
    int64_t seq = 0;
    for (const PathMove& entry : intent.moves) {
        move.Bind(1, id).Bind(2, ++seq).Bind(3, entry.isFolder ? 1 : 0).Bind(4, entry.oldPath).Bind(5, entry.newPath).Run();
    }
    Statement rewrite = db.Prepare("INSERT INTO intent_rewrites VALUES(?, ?, ?, ?, ?)");
    seq = 0;
    for (const ReferenceChange& change : intent.rewrites) {
        rewrite.Bind(1, id).Bind(2, ++seq).Bind(3, change.path).Bind(4, change.oldRef).Bind(5, change.newRef).Run();
    }
    return id;
}

void DeleteIntent(Database& db, int64_t id) {
    db.Prepare("DELETE FROM move_intents WHERE id = ?").Bind(1, id).Run();
}

std::vector<MoveIntent> PendingIntents(Database& db) {
    std::vector<MoveIntent> intents;
    Statement ids = db.Prepare("SELECT id FROM move_intents ORDER BY id");
    Statement moves = db.Prepare("SELECT is_folder, old_path, new_path FROM intent_moves WHERE intent_id = ? ORDER BY seq");
    Statement rewrites =
        db.Prepare("SELECT path, old_ref, new_ref FROM intent_rewrites WHERE intent_id = ? ORDER BY seq");
    while (ids.Step()) {
        MoveIntent intent;
        intent.id = ids.Int(0);
        moves.Bind(1, intent.id);
        while (moves.Step()) intent.moves.push_back({moves.Int(0) != 0, moves.Text(1), moves.Text(2)});
        moves.Reset();
        rewrites.Bind(1, intent.id);
        while (rewrites.Step()) intent.rewrites.push_back({rewrites.Text(0), rewrites.Text(1), rewrites.Text(2)});
        rewrites.Reset();
        intents.push_back(std::move(intent));
    }
    return intents;
}
