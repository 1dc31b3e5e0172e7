#include "app/marker_requests.h"

#include "app/markers.h"

namespace vocapost {

MarkerRequests TakeMarkerRequests(LaunchState& launch) {
  MarkerRequests requests;
  if (launch.exit_on_request != 0) return requests;
  if (MarkerExists(kEndRequestMarker)) {
    DeleteMarker(kEndRequestMarker);
    launch.exit_on_request = 1;
    requests.end = true;
    return requests;  // this copy ends now; the next one sees the rest
  }
  if (MarkerExists(kShowRequestMarker)) {
    DeleteMarker(kShowRequestMarker);
    requests.show = true;
  }
  return requests;
}

}  // namespace vocapost
