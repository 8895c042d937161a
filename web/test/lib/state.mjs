// Reads the world-state JSON that quillmoor-snapshot --state writes and qm_state returns,
// and measures how far two of them are apart.
export function compareStates(a, b) {
  const left = JSON.parse(a);
  const right = JSON.parse(b);
  const result = {position: 0, positionObject: null, angle: 0, velocity: 0, sameShape: true, notes: []};
  if (left.tick !== right.tick) result.notes.push(`tick ${left.tick} vs ${right.tick}`);
  if (left.objects.length !== right.objects.length) {
    result.sameShape = false;
    result.notes.push(`${left.objects.length} objects vs ${right.objects.length}`);
  }
  const others = new Map(right.objects.map((o) => [o.name, o]));
  for (const o of left.objects) {
    const p = others.get(o.name);
    if (!p) {
      result.sameShape = false;
      result.notes.push(`object ${o.name} missing`);
      continue;
    }
    const d = Math.hypot(o.x - p.x, o.y - p.y);
    if (d > result.position) Object.assign(result, {position: d, positionObject: o.name});
    result.angle = Math.max(result.angle, Math.abs(o.angle - p.angle));
    result.velocity = Math.max(result.velocity, Math.hypot(o.vx - p.vx, o.vy - p.vy));
  }
  const broken = (s) => JSON.stringify((s.joints || []).map((j) => [j.line, j.kind, j.broken]));
  if (broken(left) !== broken(right)) result.notes.push('joints differ');
  return result;
}

export function describeDifference(d) {
  const where = d.positionObject ? ` (${d.positionObject})` : '';
  return `largest position difference ${d.position.toExponential(3)}${where}, ` +
    `angle ${d.angle.toExponential(3)} deg, velocity ${d.velocity.toExponential(3)}` +
    (d.notes.length ? `; ${d.notes.join(', ')}` : '');
}

export const objectNamed = (stateJson, name) => JSON.parse(stateJson).objects.find((o) => o.name === name);
