// The list of every review item, for exporting them.
#include "lesson/lessonstore.h"
#include "lesson/storequery.h"

#include <sqlite3.h>

namespace lesson {

std::vector<ReviewItem> LessonStore::reviewItems()
{
    std::vector<ReviewItem> items;
    if (!db)
        return items;
    Query q(db.get(), "SELECT " REVIEW_ITEM_COLUMNS " FROM review_item ORDER BY id");
    if (readItems(q, &items) != SQLITE_DONE)
        fail();
    return items;
}

} // namespace lesson
