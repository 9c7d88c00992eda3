// Country codes of the city table. Every country keeps its ISO 3166-1 alpha-2
// code except those below: the table writes Germany as GE and the Netherlands
// as NE, so Georgia and Niger, whose ISO codes those are, move to codes that
// ISO leaves unassigned. One code per country, no code for two countries.
export const COUNTRY_CODE_OVERRIDES = Object.freeze({
  DE: 'GE', // Germany
  NL: 'NE', // Netherlands
  GE: 'GO', // Georgia
  NE: 'NX', // Niger
});

export function tableCountryCode(iso) {
  return COUNTRY_CODE_OVERRIDES[iso] ?? iso;
}

// Fails when two of the given ISO codes would share one table code.
export function checkCountryCodesUnique(isoCodes) {
  const owner = new Map();
  for (const iso of isoCodes) {
    const code = tableCountryCode(iso);
    if (!/^[A-Z]{2}$/.test(code)) throw new Error(`bad table code ${code} for ${iso}`);
    const other = owner.get(code);
    if (other !== undefined && other !== iso) {
      throw new Error(`table code ${code} would stand for both ${other} and ${iso}`);
    }
    owner.set(code, iso);
  }
}
